// The progress window: its arithmetic, what a tick shows of a run held at a known point, and
// what Escape and the close box do.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "GuiTestBase.h"
#include "operations/FilesIterationThread.h"
#include "operations/Operations.h"
#include "wizard/ProgressDlgUnit.h"

using namespace vantrel;

namespace {

struct QuietHost : IOperationHost {
    bool AskPassword(const std::string&, ByteString&) override { return false; }
    void ShowMessage(const std::string&) override {}
    void Finish(TFilesIterationThread&) override {}
    void Release() override {}
};

// Holds the worker inside its first file until let go, reporting nothing.
struct HeldOperation : TOperation {
    std::atomic<bool>& letGo;
    explicit HeldOperation(std::atomic<bool>& flag) : letGo(flag) {}
    void ProcessFile(const std::string&) override {
        while (!letGo.load() && !OnCancelQuery()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string GetCompletedText() const override { return {}; }
    std::string GetDoneVerb() const override { return {}; }
};

}  // namespace

class ProgressDlgUnitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TStartedProgram> program;

    static QString Text(const TProgressForm& form, const char* label) {
        return form.findChild<QLabel*>(QString::fromLatin1(label))->text();
    }
    static int Bar(const TProgressForm& form, const char* bar) {
        return form.findChild<QProgressBar*>(QString::fromLatin1(bar))->value();
    }

private slots:
    void initTestCase() { program = std::make_unique<test::TStartedProgram>(); }
    void cleanupTestCase() { program.reset(); }

    void FormatTimeShowsTheTimeOfDay_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << 0.0 << "00:00:00";
        QTest::newRow("seconds are cut") << 59.4 << "00:00:59";
        QTest::newRow("milliseconds are rounded first") << 59.9996 << "00:01:00";
        QTest::newRow("hours") << 3661.0 << "01:01:01";
        QTest::newRow("a day and more") << 86405.0 << "00:00:05";
        QTest::newRow("negative") << -3.0 << "00:00:00";
    }
    void FormatTimeShowsTheTimeOfDay() {
        QFETCH(double, seconds);
        QFETCH(QString, shown);
        QCOMPARE(TProgressForm::FormatTime(seconds), shown);
    }

    void PercentRoundsHalvesToEven_data() {
        QTest::addColumn<qint64>("part");
        QTest::addColumn<qint64>("whole");
        QTest::addColumn<int>("percent");
        QTest::newRow("nothing yet") << qint64(0) << qint64(1) << 0;
        QTest::newRow("0.5 down") << qint64(1) << qint64(200) << 0;
        QTest::newRow("1.5 up") << qint64(3) << qint64(200) << 2;
        QTest::newRow("2.5 down") << qint64(5) << qint64(200) << 2;
        QTest::newRow("99.5 to even") << qint64(199) << qint64(200) << 100;
        QTest::newRow("one byte more than the files") << qint64(100) << qint64(101) << 99;
        QTest::newRow("beyond the whole") << qint64(3) << qint64(1) << 100;
        QTest::newRow("large counts") << (qint64(1) << 40) << (qint64(1) << 41) << 50;
    }
    void PercentRoundsHalvesToEven() {
        QFETCH(qint64, part);
        QFETCH(qint64, whole);
        QFETCH(int, percent);
        QCOMPARE(TProgressForm::Percent(part, whole), percent);
    }

    // Before any report (as throughout a hide run) everything stands at zero; a report moves
    // the bars, the estimate and both captions; hiding restores the captions.
    void TickShowsTheRunsCounters() {
        const test::TestFolder& home = program->Home();
        home.Write("one", std::string(100, 'a'));
        home.Write("two", std::string(300, 'b'));
        test::TWizardBench bench(home.Path());
        QWidget& mainWindow = bench.window;
        TProgressForm& form = bench.wizards.ProgressForm();
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Vantrel"));
        QuietHost host;
        std::atomic<bool> letGo{false};
        auto worker = StartOperation(std::make_unique<HeldOperation>(letGo), TSelectionMode::FilesOnly, host,
                                     {home.File("one"), home.File("two")});
        QVERIFY(worker);
        QTRY_COMPARE(worker->Progress().currentIndex, 1);

        form.show();  // ticks at once
        QCOMPARE(Bar(form, "CurrentFileProgressBar"), 0);
        QCOMPARE(Bar(form, "AllFilesProgressBar"), 0);
        QCOMPARE(Text(form, "ElapsedTimeLabel"), QStringLiteral("00:00:00"));
        QCOMPARE(Text(form, "EstimatedTimeLabel"), QStringLiteral("00:00:00"));
        QCOMPARE(Text(form, "FilesPercentLabel"), QStringLiteral("1 of 2"));
        QCOMPARE(Text(form, "FileNameLabel"), QString::fromStdString(home.File("one")));
        QCOMPARE(form.windowTitle(), QStringLiteral("0% completed..."));
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Vantrel - 0% completed..."));
        QCOMPARE(QCoreApplication::applicationName(), mainWindow.windowTitle());

        // 50 of 401 bytes, at 100 bytes a second: 351 seconds' worth left is 3.51 s.
        worker->ReportProgress(50, 100, 50, 0.5);
        form.OneSecondTimerTimer();
        QCOMPARE(Bar(form, "CurrentFileProgressBar"), 50);
        QCOMPARE(Bar(form, "AllFilesProgressBar"), 12);
        QCOMPARE(Text(form, "EstimatedTimeLabel"), QStringLiteral("00:00:04"));
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Vantrel - 12% completed..."));

        form.close();  // the close box hides the window and lets the run go on
        QVERIFY(!form.isVisible());
        QVERIFY(!worker->IsCancelled());
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Vantrel"));

        form.show();
        QTest::keyClick(&form, Qt::Key_Escape);  // Escape is Cancel
        QVERIFY(!form.isVisible());
        QVERIFY(worker->IsCancelled());
        worker->Wait();
        QCOMPARE(worker->Outcome(), TRunOutcome::Cancelled);
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Vantrel"));
    }

    void TimerTicksTenTimesASecondOnlyWhileShown() {
        test::TWizardBench bench(program->Home().Path());
        TProgressForm& form = bench.wizards.ProgressForm();
        auto* timer = form.findChild<QTimer*>(QStringLiteral("OneSecondTimer"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 100);
        QVERIFY(!timer->isActive());
        form.show();
        QVERIFY(timer->isActive());
        QVERIFY(!form.isModal());
        form.hide();
        QVERIFY(!timer->isActive());
    }
};

QTEST_MAIN(ProgressDlgUnitTest)
#include "ProgressDlgUnit_test.moc"
