#include "ui/PasswordDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/WindowLayout.h"

namespace vantrel {

TPasswordDialog::TPasswordDialog(const QString& name, const QString& caption, QSize defaultSize, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      defaultSize_(defaultSize) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    Label1 = NewWrappedLabel(QStringLiteral("Label1"), QString(), this);
    layout->addWidget(Label1);
    fields_ = new QVBoxLayout;
    fields_->setSpacing(3);
    layout->addLayout(fields_);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit* TPasswordDialog::AddField(const QString& labelName, const QString& labelText, const QString& editName) {
    // The label sits above its field, so a long translation or file name wraps instead of
    // squeezing the field.
    auto* label = new QLabel(labelText, this);
    label->setObjectName(labelName);
    label->setWordWrap(true);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(editName);
    edit->setEchoMode(QLineEdit::Password);
    edit->setAccessibleName(labelText);
    label->setBuddy(edit);
    fields_->addWidget(label);
    fields_->addWidget(edit);
    if (!EnterPassLabel) EnterPassLabel = label;
    if (!PasswordEdit) PasswordEdit = edit;
    return edit;
}

void TPasswordDialog::FinishLayout() {
    FitFixedSize(this, defaultSize_);
}

void TPasswordDialog::showEvent(QShowEvent* event) {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->clear();
    FitFixedSize(this, defaultSize_);
    QDialog::showEvent(event);
    PasswordEdit->setFocus(Qt::OtherFocusReason);
}

}  // namespace vantrel
