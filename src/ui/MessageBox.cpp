#include "ui/MessageBox.h"

#include <QFileDialog>

#include <deque>

namespace vantrel {

namespace {

std::deque<TMessageBox::Button>& QueuedAnswers() {
    static std::deque<TMessageBox::Button> answers;
    return answers;
}

QStringList& ShownTexts() {
    static QStringList texts;
    return texts;
}

std::deque<QString>& QueuedFileNames() {
    static std::deque<QString> names;
    return names;
}

}  // namespace

TMessageBox::Button TMessageBox::Information(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
    return Show(parent, QMessageBox::Information, text, buttons);
}

TMessageBox::Button TMessageBox::Error(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
    return Show(parent, QMessageBox::Critical, text, buttons);
}

TMessageBox::Button TMessageBox::Question(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
    return Show(parent, QMessageBox::Question, text, buttons);
}

void TMessageBox::SetNextAnswer(Button answer) { QueuedAnswers().push_back(answer); }

QStringList TMessageBox::TakeShownTexts() {
    QStringList texts;
    texts.swap(ShownTexts());
    return texts;
}

void TMessageBox::Reset() {
    QueuedAnswers().clear();
    ShownTexts().clear();
}

TMessageBox::Button TMessageBox::Show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                      QMessageBox::StandardButtons buttons) {
    ShownTexts().append(text);
    if (!QueuedAnswers().empty()) {
        const Button answer = QueuedAnswers().front();
        QueuedAnswers().pop_front();
        return answer;
    }
    QMessageBox box(icon, QString(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return Button(box.exec());
}

QString TFileDialog::GetOpenFileName(QWidget* parent, const QString& title, const QString& filter) {
    if (!QueuedFileNames().empty()) {
        QString name = QueuedFileNames().front();
        QueuedFileNames().pop_front();
        return name;
    }
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

void TFileDialog::SetNextFileName(const QString& fileName) { QueuedFileNames().push_back(fileName); }

void TFileDialog::Reset() { QueuedFileNames().clear(); }

}  // namespace vantrel
