#include "ui/ChangeMainPassFormUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "base/SecureMemory.h"
#include "hide/HiddenConfig.h"
#include "i18n/LangConstants.h"
#include "ui/MessageBox.h"

namespace vantrel {

TChangeMainPassForm* ChangeMainPassForm = nullptr;

TChangeMainPassForm::TChangeMainPassForm(QWidget* parent)
    : TPasswordDialog(QStringLiteral("ChangeMainPassForm"), QStringLiteral("Set New Main Password"), DefaultSize,
                      parent) {
    Label1->setText(QStringLiteral("You should create Main Password here. You will be prompted to enter it every time "
                                   "you want to Hide files from Explorer or Show hidden files."));
    AddField(QStringLiteral("EnterPassLabel"), QStringLiteral("Enter new password:"), QStringLiteral("PasswordEdit"));
    AgainPasswordEdit =
        AddField(QStringLiteral("Label2"), QStringLiteral("Enter new password again:"), QStringLiteral("AgainPasswordEdit"));
    connect(OKBtn, &QPushButton::clicked, this, &TChangeMainPassForm::OKBtnClick);
    FinishLayout();
    ChangeMainPassForm = this;
}

TChangeMainPassForm::~TChangeMainPassForm() {
    if (ChangeMainPassForm == this) ChangeMainPassForm = nullptr;
}

void TChangeMainPassForm::OKBtnClick() {
    if (PasswordEdit->text() != AgainPasswordEdit->text()) {
        TMessageBox::Error(this, QString::fromStdString(LangConstant("Second_pass_not_equal_first")));
        return;
    }
    if (HiddenItemsStore) {
        // Only the store's hash of it is kept; the empty text clears the password.
        std::string typed = PasswordEdit->text().toStdString();
        HiddenItemsStore->SetPassword(typed);
        SecureZero(typed.data(), typed.size());
    }
    PasswordEdit->clear();
    AgainPasswordEdit->clear();
    accept();
}

}  // namespace vantrel
