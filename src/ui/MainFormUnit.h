#pragma once

#include <QMainWindow>

class QPushButton;

namespace vantrel {

// The program's main window, created once after StartUp and kept for the whole run.
// Closing it, by its title bar or by the Exit button, ends the event loop.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Client area in pixels; the window is not resizable.
    static constexpr int ClientWidth = 698;
    static constexpr int ClientHeight = 475;

    explicit TMainForm(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void ExitButtonClick();

    QWidget* ButtonPanel = nullptr;
    QPushButton* ExitButton = nullptr;
};

}  // namespace vantrel
