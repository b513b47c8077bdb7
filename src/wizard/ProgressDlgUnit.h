#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vantrel {

// The progress window of a run: a timer reads the worker's counters ten times a second and
// repaints the texts and bars; the overall percentage also goes into the main window's caption
// and the application title. Shown without blocking the main window; Cancel and Escape stop
// the run, the close box only hides the window.
class TProgressForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int TickMilliseconds = 100;

    // mainWindow: the window whose caption follows the progress.
    explicit TProgressForm(QWidget* mainWindow);

    // One tick: the texts and bars from the current run's counters.
    void OneSecondTimerTimer();
    void CancelClick();

    // "hh:mm:ss" of a span of seconds; whole days are dropped.
    static QString FormatTime(double seconds);
    // part / whole * 100, rounded to the nearest integer, halves to even.
    static int Percent(std::int64_t part, std::int64_t whole);

    // Escape.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void FormHide();
    void CenterOnDesktop();

    QWidget* mainWindow_;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* FileNameLabel = nullptr;
    QProgressBar* CurrentFileProgressBar = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* FilesPercentLabel = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* ElapsedTimeLabel = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* EstimatedTimeLabel = nullptr;
    QProgressBar* AllFilesProgressBar = nullptr;
    QPushButton* Cancel = nullptr;
    QTimer OneSecondTimer;
};

// The application title (the name the desktop shows for the program while no window has a
// title of its own, and the caption of untitled boxes).
void SetApplicationTitle(const QString& title);

}  // namespace vantrel
