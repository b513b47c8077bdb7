#pragma once

// What every window test shares: a temporary data folder of its own (XDG_CONFIG_HOME), the
// engine's registries and the hidden-items store (for one test, or the program's whole
// start-up for a test program), the program's windows wired as main() wires them, a fixed
// font, and a way to answer the program's own modal dialogs while they run.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "../TestFolder.h"
#include "app/AppFolders.h"
#include "app/InitFinal.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LanguageManager.h"
#include "operations/Operations.h"
#include "shred/ShredAlgorithms.h"
#include "ui/FilesTreeView.h"
#include "ui/MessageBox.h"
#include "wizard/OperationPathes.h"
#include "wizard/ProgramWindows.h"
#include "wizard/WizardWindow.h"

namespace vantrel::test {

// The engine as StartUp leaves it, in a data folder of its own.
class TEngineFixture {
public:
    TEngineFixture() {
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
        ResetAppFolders();
        CreateOperationList();
        InitShredAlgorithms(LanguageSetting());
        InitCryptoAlgorithms(LanguageSetting());
        InitHiddenConfig();
        // A stored main password, so that showing a window does not ask for one.
        HiddenItemsStore->SetPassword("main");
        TMessageBox::Reset();
        TFileDialog::Reset();
    }
    ~TEngineFixture() {
        HiddenItemsStore.reset();
        DoneCryptoAlgorithms();
        DoneShredAlgorithms();
        FreeOperationList();
        ResetAppFolders();
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The program's start-up and shutdown around a whole test program, in a home of its own.
class TStartedProgram {
public:
    TStartedProgram() { StartUp(); }
    ~TStartedProgram() { ShutDown(); }
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;
    const TestFolder& Home() const { return home_; }

private:
    TestFolder home_;  // made before StartUp, removed after ShutDown
};

// Runs `answer` on the first modal dialog of type T that opens after this call, once it is
// running its own loop. `done` tells whether it was reached.
template <class T>
void WhenModal(std::function<void(T*)> answer, bool* done = nullptr) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, done] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
        if (done) *done = true;
    });
    timer->start();
}

// Types `text` into the dialog's password field and presses OK; with no text, presses Cancel.
template <class T>
void AnswerPasswordDialog(T* dialog, const std::optional<QString>& text) {
    const char* button = text ? "OKBtn" : "CancelBtn";
    if (text) dialog->template findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(*text);
    QTest::mouseClick(dialog->template findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

// Records what the window asks of the wizard layer.
class TRecordingDriver : public TWizardDriver {
public:
    QStringList calls;
    void StartWizard(int position) override { calls << QStringLiteral("StartWizard %1").arg(position); }
    void Next() override { calls << QStringLiteral("Next"); }
    void Back() override { calls << QStringLiteral("Back"); }
    void CancelWizard() override { calls << QStringLiteral("CancelWizard"); }
    void ActivateFromCommandLine() override { calls << QStringLiteral("ActivateFromCommandLine"); }
    bool IsRunActive() const override { return false; }
    void PrepareQuit() override { calls << QStringLiteral("PrepareQuit"); }
};

// Every text a control shows fits in it: wrapped labels are tall enough for their width,
// one-line controls wide enough for their text, and every control lies inside the window.
inline QStringList ClippedControls(QWidget& window) {
    QStringList clipped;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) continue;
        const QRect inWindow(w->mapTo(&window, QPoint(0, 0)), w->size());
        bool fits = window.rect().contains(inWindow);
        if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
            fits = fits && (label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                              : label->sizeHint().width() <= label->width());
        } else if (w->inherits("QCheckBox")) {
            fits = fits && w->sizeHint().width() <= w->width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            // The caption and picture with a little room on each side.
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            fits = fits && button->fontMetrics().horizontalAdvance(caption) + icon + 8 <= button->width() &&
                   button->fontMetrics().height() <= button->height();
        } else if (qobject_cast<QComboBox*>(w)) {
            fits = fits && w->sizeHint().width() <= w->width() && w->sizeHint().height() <= w->height();
        }
        if (!fits) clipped << w->objectName();
    }
    return clipped;
}


// Fixed font and 96 dpi metrics so that sizes repeat from run to run.
inline void UseFixedFont() { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9)); }

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteWhole(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// The names in a folder, sorted.
inline QStringList Listing(const std::string& folder) {
    QStringList names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names << QString::fromStdString(e.path().filename().string());
    names.sort();
    return names;
}

// The program's windows as main() creates, wires and shows them, with the files tree showing
// one drive: a folder of the test's own. A main password is stored, so the first activation
// asks for nothing.
class TWizardBench {
public:
    explicit TWizardBench(const std::string& drive) : drive_(drive) {
        if (!HiddenItemsStore->HasPassword()) HiddenItemsStore->SetPassword("main");
        window.FilesTree()->SetDriveSource([drive] { return std::vector<TDriveInfo>{{drive, TDriveType::Fixed}}; });
        window.show();
        window.activateWindow();
        TMessageBox::Reset();
    }

    TProgramWindows windows;
    TMainForm& window = windows.mainForm;
    TWizardController& wizards = windows.wizards;

    template <class T>
    T* Get(const char* name) const {
        T* control = window.findChild<T*>(QLatin1String(name));
        if (!control) qFatal("no control %s", name);
        return control;
    }
    QString Text(const char* label) const { return Get<QLabel>(label)->text(); }
    void Click(const char* button) const { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }

    // Enter on the operation list's entry, as the keyboard chooses it; true once `started`
    // holds (by default: a wizard is current).
    bool Choose(int position, const std::function<bool()>& started = [] { return CurrentPath() != nullptr; }) {
        auto* list = Get<QListWidget>("OperationsListBox");
        list->setFocus();
        list->setCurrentRow(position);
        QTest::keyClick(list, Qt::Key_Return);
        return QTest::qWaitFor(started, 5000);
    }

    // Expands the tree down to the file or folder (a path on the drive) and presses Space on it.
    void Tick(const std::string& path) const {
        TFilesTreeView& tree = *window.FilesTree();
        QTreeWidgetItem* node = tree.topLevelItem(0);
        if (!node || path.rfind(drive_, 0) != 0) qFatal("%s is not on the drive", path.c_str());
        for (const QString& name : QString::fromStdString(path.substr(drive_.size())).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            node->setExpanded(true);
            QTreeWidgetItem* child = nullptr;
            for (int i = 0; i < node->childCount() && !child; ++i)
                if (node->child(i)->text(0) == name) child = node->child(i);
            if (!child) qFatal("no node %s in the tree", qPrintable(name));
            node = child;
        }
        tree.setFocus();
        tree.setCurrentItem(node);
        QTest::keyClick(&tree, Qt::Key_Space);
    }

    // The current step's hint, as the status line shows it once the pointer rests on nothing
    // with a hint of its own.
    QString StepHint() const {
        QTest::mouseMove(Get<QLabel>("StatusBar"));
        return window.StatusText();
    }

private:
    std::string drive_;
};

}  // namespace vantrel::test
