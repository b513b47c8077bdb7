#include "ui/OperationPassFormUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "i18n/LangConstants.h"
#include "i18n/MessageFormat.h"

namespace vantrel {

TOperationPassForm* OperationPassForm = nullptr;

TOperationPassForm::TOperationPassForm(QWidget* parent)
    : TPasswordDialog(QStringLiteral("OperationPassForm"), QStringLiteral("Enter valid password"), DefaultSize, parent) {
    Label1->setText(QStringLiteral("You should enter valid password to complete operation you need"));
    AddField(QStringLiteral("EnterPassLabel"), QStringLiteral("Enter password:"), QStringLiteral("PasswordEdit"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    FinishLayout();
    OperationPassForm = this;
}

TOperationPassForm::~TOperationPassForm() {
    if (OperationPassForm == this) OperationPassForm = nullptr;
}

bool TOperationPassForm::Ask(const QString& fileName, QString& password) {
    const std::string prompt = FormatMessageText(LangConstant("Enter_valid_pass"), {fileName.toStdString()});
    EnterPassLabel->setText(QString::fromStdString(prompt));
    PasswordEdit->setAccessibleName(EnterPassLabel->text());
    const bool accepted = exec() == QDialog::Accepted;
    password = PasswordEdit->text();
    PasswordEdit->clear();
    return accepted;
}

}  // namespace vantrel
