#pragma once

#include "ui/PasswordDialog.h"

namespace vantrel {

// Asks for the main password before a hide or show wizard goes on.
class TMainPassForm : public TPasswordDialog {
    Q_OBJECT

public:
    static constexpr QSize DefaultSize{298, 128};
    explicit TMainPassForm(QWidget* parent = nullptr);
    ~TMainPassForm() override;
    QString TypedText() const;
};

// The process-wide instance, set while one exists (the windows are created once, at start).
extern TMainPassForm* MainPassForm;

// The main-password loop against the hidden-items store: asks until the typed text is right
// (any text sets the password when none is stored) or the user cancels. True when proved.
bool CheckMainPassword(TMainPassForm& form);

}  // namespace vantrel
