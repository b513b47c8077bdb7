#pragma once

#include "ui/PasswordDialog.h"

namespace vantrel {

// Asks for the password of one file that the current password does not open.
class TOperationPassForm : public TPasswordDialog {
    Q_OBJECT

public:
    static constexpr QSize DefaultSize{299, 131};
    explicit TOperationPassForm(QWidget* parent = nullptr);
    ~TOperationPassForm() override;

    // Shows the dialog for the file (its name without folder); true when closed with OK.
    // The typed text is handed back whatever the answer.
    bool Ask(const QString& fileName, QString& password);
};

extern TOperationPassForm* OperationPassForm;

}  // namespace vantrel
