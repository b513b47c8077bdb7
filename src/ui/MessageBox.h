#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace vantrel {

// Every message box of the program goes through here: an empty caption, the information icon
// for notices and the error icon for refusals. Tests queue answers in advance, so no test
// waits on a modal box; every text shown is kept for them to read.
class TMessageBox {
public:
    using Button = QMessageBox::StandardButton;

    static Button Information(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static Button Error(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static Button Question(QWidget* parent, const QString& text,
                           QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No);

    // The next box returns this answer at once instead of being shown. Answers queue up.
    static void SetNextAnswer(Button answer);
    // Texts of the boxes shown or answered since the last call, oldest first; clears the list.
    static QStringList TakeShownTexts();
    // Forget queued answers and recorded texts (between tests).
    static void Reset();

private:
    static Button Show(QWidget* parent, QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons);
};

// The open-file dialog, answerable in advance like the message boxes.
class TFileDialog {
public:
    // The chosen file, or an empty text when the user cancels.
    static QString GetOpenFileName(QWidget* parent, const QString& title, const QString& filter);
    // The next dialog returns this at once (an empty text answers Cancel).
    static void SetNextFileName(const QString& fileName);
    static void Reset();
};

}  // namespace vantrel
