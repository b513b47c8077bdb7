#include "wizard/ProgressDlgUnit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

#include "app/InitFinal.h"
#include "i18n/LangConstants.h"
#include "i18n/MessageFormat.h"
#include "operations/FilesIterationCallbacks.h"
#include "operations/FilesIterationThread.h"
#include "wizard/OperationPathes.h"

namespace vantrel {

namespace {

constexpr int FileNameWidth = 300;

// A label of fixed width that keeps the whole path as its text but draws it shortened in the
// middle, so the file's own name stays in sight.
class TPathLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        painter.drawText(area, int(alignment()), fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
    }
};

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A bar repaints itself at once on every new value; held back, the new values of both bars join
// the window's next paint instead of costing a paint each.
void SetBarValue(QProgressBar* bar, int value) {
    if (bar->value() == value) return;
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);
}

QProgressBar* NamedBar(const char* name, const QString& accessibleName, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setAccessibleName(accessibleName);
    return bar;
}

// A value label read together with its caption by screen readers.
void Pair(QLabel* caption, QLabel* value) {
    caption->setBuddy(value);
    value->setAccessibleName(caption->text().remove(QLatin1Char(':')));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

}  // namespace

void SetApplicationTitle(const QString& title) { QCoreApplication::setApplicationName(title); }

TProgressForm::TProgressForm(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("ProgressForm"));
    setModal(false);

    GroupBox1 = new QGroupBox(QStringLiteral("Current file"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = NamedLabel("Label1", QStringLiteral("File name:"), GroupBox1);
    FileNameLabel = new TPathLabel(GroupBox1);
    FileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
    FileNameLabel->setFixedWidth(FileNameWidth);
    Pair(Label1, FileNameLabel);
    CurrentFileProgressBar = NamedBar("CurrentFileProgressBar", QStringLiteral("Current file"), GroupBox1);
    auto* current = new QGridLayout(GroupBox1);
    current->addWidget(Label1, 0, 0);
    current->addWidget(FileNameLabel, 0, 1);
    current->addWidget(CurrentFileProgressBar, 1, 0, 1, 2);
    current->setColumnStretch(1, 1);

    GroupBox2 = new QGroupBox(QStringLiteral("All files"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label3 = NamedLabel("Label3", QStringLiteral("Files:"), GroupBox2);
    FilesPercentLabel = NamedLabel("FilesPercentLabel", QString(), GroupBox2);
    Label2 = NamedLabel("Label2", QStringLiteral("Elapsed time:"), GroupBox2);
    ElapsedTimeLabel = NamedLabel("ElapsedTimeLabel", QString(), GroupBox2);
    Label4 = NamedLabel("Label4", QStringLiteral("Estimated time:"), GroupBox2);
    EstimatedTimeLabel = NamedLabel("EstimatedTimeLabel", QString(), GroupBox2);
    Pair(Label3, FilesPercentLabel);
    Pair(Label2, ElapsedTimeLabel);
    Pair(Label4, EstimatedTimeLabel);
    AllFilesProgressBar = NamedBar("AllFilesProgressBar", QStringLiteral("All files"), GroupBox2);
    auto* all = new QGridLayout(GroupBox2);
    all->addWidget(Label3, 0, 0);
    all->addWidget(FilesPercentLabel, 0, 1);
    all->addWidget(Label2, 1, 0);
    all->addWidget(ElapsedTimeLabel, 1, 1);
    all->addWidget(Label4, 2, 0);
    all->addWidget(EstimatedTimeLabel, 2, 1);
    all->addWidget(AllFilesProgressBar, 3, 0, 1, 2);
    all->setColumnStretch(1, 1);

    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setAccessibleName(QStringLiteral("Cancel"));
    Cancel->setAutoDefault(false);
    connect(Cancel, &QPushButton::clicked, this, &TProgressForm::CancelClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size dialog

    OneSecondTimer.setParent(this);  // a member: gone before the dialog's own destruction
    OneSecondTimer.setObjectName(QStringLiteral("OneSecondTimer"));
    OneSecondTimer.setInterval(TickMilliseconds);
    connect(&OneSecondTimer, &QTimer::timeout, this, &TProgressForm::OneSecondTimerTimer);
    setWindowTitle(QString::fromStdString(FormatMessageText(LangConstant("Percent_completed"), {"0"})));
}

void TProgressForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TProgressForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) FormHide();  // not when the desktop only minimises it
}

// The close box hides the window; the run goes on unseen.
void TProgressForm::closeEvent(QCloseEvent* event) { event->accept(); }

void TProgressForm::reject() { CancelClick(); }

void TProgressForm::FormShow() {
    CenterOnDesktop();
    OneSecondTimer.start();
    OneSecondTimerTimer();
}

void TProgressForm::FormHide() {
    OneSecondTimer.stop();
    if (mainWindow_) {
        mainWindow_->setWindowTitle(QString::fromUtf8(ProductName.data(), qsizetype(ProductName.size())));
        SetApplicationTitle(mainWindow_->windowTitle());
    }
}

void TProgressForm::CancelClick() {
    CancelOperation();
    hide();
}

void TProgressForm::OneSecondTimerTimer() {
    ElapsedTimeLabel->setText(FormatTime(GetElapsedTime()));
    EstimatedTimeLabel->setText(FormatTime(GetRemainingTime()));
    SetBarValue(CurrentFileProgressBar, Percent(GetCurrentFileDone(), GetCurrentFileTotal()));
    const int p = Percent(GetDoneBytes(), GetTotalBytes());
    SetBarValue(AllFilesProgressBar, p);
    setWindowTitle(QString::fromStdString(FormatMessageText(LangConstant("Percent_completed"), {std::to_string(p)})));
    if (mainWindow_) {
        mainWindow_->setWindowTitle(QStringLiteral("Vantrel - ") + windowTitle());
        SetApplicationTitle(mainWindow_->windowTitle());
    }
    const QString file = QString::fromStdString(GetCurrentFileName());
    FileNameLabel->setText(file);
    FileNameLabel->setToolTip(file);
    FilesPercentLabel->setText(QString::fromStdString(FormatMessageText(
        LangConstant("Percent"), {std::to_string(GetCurrentFileIndex()), std::to_string(GetFileCount())})));
}

QString TProgressForm::FormatTime(double seconds) {
    // Shown as a time of day: milliseconds are rounded, then seconds cut, as a clock does.
    const long long ms = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * 1000.0) : 0;
    const long long s = ms / 1000 % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

int TProgressForm::Percent(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return 0;
    const double p = std::nearbyint(double(part) / double(whole) * 100.0);  // halves to even
    return p < 0 ? 0 : p > 100 ? 100 : int(p);
}

void TProgressForm::CenterOnDesktop() {
    const QScreen* screen = mainWindow_ ? mainWindow_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame(QPoint(0, 0), sizeHint());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace vantrel
