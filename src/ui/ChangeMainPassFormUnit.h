#pragma once

#include "ui/PasswordDialog.h"

namespace vantrel {

// Sets a new main password, typed twice; closes with OK only when both agree.
class TChangeMainPassForm : public TPasswordDialog {
    Q_OBJECT

public:
    static constexpr QSize DefaultSize{298, 183};
    explicit TChangeMainPassForm(QWidget* parent = nullptr);
    ~TChangeMainPassForm() override;

    QLineEdit* AgainPasswordEdit = nullptr;

private:
    void OKBtnClick();
};

extern TChangeMainPassForm* ChangeMainPassForm;

}  // namespace vantrel
