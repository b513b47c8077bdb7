#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "app/InitFinal.h"
#include "shell/ContextMenuExtActivator.h"
#include "wizard/ProgramWindows.h"

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A message box needs a display that someone looks at; offscreen and minimal platforms (tests,
// CI) draw for nobody, and a modal box there would wait forever.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strncmp(platform, "offscreen", 9) == 0 || std::strncmp(platform, "minimal", 7) == 0))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void ShowError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", std::string(vantrel::ProductName).c_str(), message.c_str());
    if (DisplayAvailable() && QApplication::instance())
        QMessageBox::critical(nullptr, ToQString(vantrel::ProductName), ToQString(message));
}

// An exception escaping an event handler is shown and the program goes on, instead of
// unwinding through the toolkit.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowError(e.what());
        } catch (...) {
            ShowError("Unknown error");
        }
        return false;
    }
};

// VANTREL_QUIT_AFTER_MS=n closes the main window n milliseconds after the event loop started,
// so that a start-up smoke test ends by itself. Unset, nothing happens.
void CloseAfterDelayIfAsked(QWidget& mainWindow) {
    const char* delay = std::getenv("VANTREL_QUIT_AFTER_MS");
    if (!delay || !*delay) return;
    QTimer::singleShot(std::atoi(delay), &mainWindow, &QWidget::close);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        vantrel::StartUp();
    } catch (const std::exception& e) {
        // The toolkit is brought up only now, and only to show the message.
        std::optional<QApplication> app;
        if (DisplayAvailable()) app.emplace(argc, argv);
        ShowError(std::string("Start-up failed: ") + e.what());
        return EXIT_FAILURE;
    }

    // "/activate" and "/deactivate" left a quit request: the run draws nothing, needs no
    // display, and its loop ends as soon as it runs.
    const bool quitAtOnce = vantrel::IsQuitRequested();
    if (quitAtOnce) qputenv("QT_QPA_PLATFORM", "offscreen");

    int result = EXIT_SUCCESS;
    {
        TApplication app(argc, argv);
        if (quitAtOnce) QTimer::singleShot(0, &app, &QCoreApplication::quit);
        QApplication::setApplicationName(ToQString(vantrel::ProductName));
        // Matches the windows to the desktop entry, and so to its icon in the task bar.
        QGuiApplication::setDesktopFileName(QStringLiteral("com.halcorne.Vantrel"));
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.halcorne.Vantrel")));

        vantrel::TProgramWindows windows;
        vantrel::TMainForm& mainForm = windows.mainForm;

        // Its first activation asks for a main password when none is stored, then runs the
        // command-line activation.
        mainForm.show();
        // Without a window manager (a bare X server) nothing would ever activate the window.
        mainForm.activateWindow();
        CloseAfterDelayIfAsked(mainForm);

        result = app.exec();
        // However the loop ended, no worker may outlive the registries ShutDown releases.
        windows.wizards.PrepareQuit();

        try {
            vantrel::ShutDown();
        } catch (const std::exception& e) {
            ShowError(std::string("Shutdown failed: ") + e.what());
            result = EXIT_FAILURE;
        }
    }
    return result;
}
