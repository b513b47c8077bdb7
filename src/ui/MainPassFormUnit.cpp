#include "ui/MainPassFormUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "base/SecureMemory.h"
#include "hide/HiddenConfig.h"
#include "i18n/LangConstants.h"
#include "ui/MessageBox.h"

namespace vantrel {

TMainPassForm* MainPassForm = nullptr;

TMainPassForm::TMainPassForm(QWidget* parent)
    : TPasswordDialog(QStringLiteral("MainPassForm"), QStringLiteral("Enter Main Password"), DefaultSize, parent) {
    Label1->setText(QStringLiteral("You should enter Main Password you created earlier to hide files from Explorer or "
                                   "show hidden files"));
    AddField(QStringLiteral("EnterPassLabel"), QStringLiteral("Enter password:"), QStringLiteral("PasswordEdit"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    FinishLayout();
    MainPassForm = this;
}

TMainPassForm::~TMainPassForm() {
    if (MainPassForm == this) MainPassForm = nullptr;
}

QString TMainPassForm::TypedText() const { return PasswordEdit->text(); }

bool CheckMainPassword(TMainPassForm& form) {
    for (;;) {
        if (form.exec() != QDialog::Accepted) return false;
        if (!HiddenItemsStore) return true;
        std::string typed = form.TypedText().toStdString();
        form.PasswordEdit->clear();
        bool right = true;
        if (HiddenItemsStore->HasPassword()) right = HiddenItemsStore->CheckPassword(typed);
        else HiddenItemsStore->SetPassword(typed);
        SecureZero(typed.data(), typed.size());
        if (right) return true;
        TMessageBox::Error(&form, QString::fromStdString(LangConstant("Wrong_password")));
    }
}

}  // namespace vantrel
