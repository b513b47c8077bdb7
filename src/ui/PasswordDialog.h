#pragma once

#include <QDialog>

class QVBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel {

// What the three password windows share: a wrapped explanation, masked fields with their
// labels as buddies, and OK (the default button) and Cancel. Every showing empties the
// fields and puts the focus in the first, so no password stays on screen between uses.
class TPasswordDialog : public QDialog {
    Q_OBJECT

public:
    QLineEdit* PasswordEdit = nullptr;

protected:
    TPasswordDialog(const QString& name, const QString& caption, QSize defaultSize, QWidget* parent);
    // Adds a label and its field below the ones already there.
    QLineEdit* AddField(const QString& labelName, const QString& labelText, const QString& editName);
    // Fixes the size once every control is in place.
    void FinishLayout();
    void showEvent(QShowEvent* event) override;

    QLabel* Label1 = nullptr;
    QLabel* EnterPassLabel = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    QVBoxLayout* fields_ = nullptr;
    QSize defaultSize_;
};

}  // namespace vantrel
