// Whole runs through the wizards: clicks and keys on the program's own windows, a worker on its
// own thread, the file-password dialog answered while the worker waits, cancel and quit during
// a run.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

#include "GuiTestBase.h"
#include "app/CmdLineActivate.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "operations/FilesIterationCallbacks.h"
#include "operations/FilesIterationThread.h"
#include "ui/MainPassFormUnit.h"
#include "ui/OperationPassFormUnit.h"
#include "wizard/EncryptPath.h"
#include "wizard/HidePath.h"
#include "wizard/OperationPathes.h"
#include "wizard/ProgressDlgUnit.h"

using namespace vantrel;
using vantrel::test::Listing;
using vantrel::test::ReadWhole;
using vantrel::test::TWizardBench;
using vantrel::test::WriteWhole;

namespace {

constexpr int RunTimeout = 20000;
int AllAtOnce() { return AlgorithmCount() - 1; }

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) list << QString::fromUtf8(name);
    return list;
}

void EncryptWithEngine(const std::string& file, const char* password) {
    AlgorithmAt(0).EncryptFile(file, ByteString::FromAscii(password), nullptr, nullptr, nullptr);
}

// Opens an .enc file again with the engine; the stored name comes back beside it.
bool DecryptWithEngine(const std::string& encFile, const char* password) {
    const std::string head = ReadWhole(encFile).substr(0, 3);
    TCryptoAlgorithm* algorithm = FindAlgorithmByTag(reinterpret_cast<const std::uint8_t*>(head.data()));
    return algorithm && algorithm->DecryptFile(encFile, ByteString::FromAscii(password), nullptr, nullptr, nullptr) ==
                            TCryptoResult::Completed;
}

// Big enough that an all-at-once run lasts seconds, so it can be stopped midway.
std::string LargeContent() {
    std::string content(8 << 20, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = char(i * 2654435761u >> 24);
    return content;
}

// The file-password dialog, answered in turn as a user would once it is up: a text typed and OK,
// or Cancel for none. What it asked is kept in `prompts`.
void AnswerFilePasswords(std::vector<std::optional<QString>> answers, QStringList* prompts = nullptr) {
    if (answers.empty()) return;
    test::WhenModal<TOperationPassForm>([answers, prompts](TOperationPassForm* dialog) mutable {
        if (prompts) *prompts << dialog->findChild<QLabel*>(QStringLiteral("EnterPassLabel"))->text();
        const std::optional<QString> answer = answers.front();
        answers.erase(answers.begin());
        AnswerFilePasswords(answers, prompts);
        test::AnswerPasswordDialog(dialog, answer);
    });
}

void AnswerMainPassword() {
    test::WhenModal<TMainPassForm>([](TMainPassForm* dialog) { test::AnswerPasswordDialog(dialog, QStringLiteral("main")); });
}

}  // namespace

class WizardWorkerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TStartedProgram> program;
    std::string drive;  // the files tree's one drive
    std::string dir;    // a fresh folder on it for each test

    // Runs the event loop until the program is asked to quit; false when it never is.
    static bool RunUntilQuit(const std::function<void()>& start) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
        guard.start(RunTimeout);
        QTimer::singleShot(0, qApp, start);
        return QCoreApplication::exec() == 0;
    }

    void WaitForRunEnd(TWizardBench& bench) {
        QTRY_VERIFY_WITH_TIMEOUT(!bench.wizards.IsRunActive(), RunTimeout);
    }
    // The wizard from the operation list, one file or folder ticked, Next.
    void ChooseAndGo(TWizardBench& bench, int position, const std::string& path) {
        QVERIFY(bench.Choose(position));
        bench.Tick(path);
        bench.Click("NextButton");
    }

private slots:
    void initTestCase() {
        program = std::make_unique<test::TStartedProgram>();
        drive = program->Home().Path() + "drive";
    }
    void cleanupTestCase() { program.reset(); }
    void init() {
        static int n = 0;
        dir = drive + "/run" + std::to_string(++n) + "/";
        std::filesystem::create_directories(dir);
        HiddenItemsStore->SetPassword("main");
        while (HiddenItemsStore->ItemCount() > 0) HiddenItemsStore->DeleteItem(0);
    }
    void cleanup() {
        SetActivatedFromCommandLine(false);
        ResetProgramArguments();
        ClearCmdLineFiles();
    }

    // Keyboard and mouse only: the operation list, a folder ticked in the tree, the
    // algorithm, the password typed, Encrypt.
    void WholeEncryptionByClicks() {
        WriteWhole(dir + "a.txt", "alpha");
        WriteWhole(dir + "b.txt", "bravo");
        TWizardBench bench(drive);
        ChooseAndGo(bench, 0, dir);
        QCOMPARE(bench.window.PageIndex(), 1);
        auto* algorithms = bench.Get<QComboBox>("EncryptAlgorithmComboBox");
        algorithms->setFocus();
        for (int i = 0; i < 3; ++i) QTest::keyClick(algorithms, Qt::Key_Down);
        QCOMPARE(algorithms->currentIndex(), 3);
        QTest::keyClicks(bench.Get<QLineEdit>("EncryptPasswordEdit"), QStringLiteral("s3cret"));
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        QCOMPARE(bench.window.PageIndex(), 7);
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Encryption completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("2 files were encrypted"));
        QVERIFY(!bench.Get<QPushButton>("ExitButton")->isVisible());
        QVERIFY(bench.Get<QPushButton>("FinishButton")->isVisible());
        QVERIFY(!bench.Get<QListWidget>("SkippedFilesListBox")->isVisibleTo(&bench.window));
        QVERIFY(!bench.wizards.ProgressForm().isVisible());
        QCOMPARE(bench.window.windowTitle(), QStringLiteral("Vantrel"));
        // The delete-after box was ticked on entry: only the encrypted files are left.
        QCOMPARE(Listing(dir), Names({"a.txt.enc", "b.txt.enc"}));
        QVERIFY(DecryptWithEngine(dir + "a.txt.enc", "s3cret"));
        QVERIFY(DecryptWithEngine(dir + "b.txt.enc", "s3cret"));
        QCOMPARE(ReadWhole(dir + "a.txt"), std::string("alpha"));
        QCOMPARE(ReadWhole(dir + "b.txt"), std::string("bravo"));
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList());

        // Enter presses Finish, and the main page is back.
        QTest::keyClick(&bench.window, Qt::Key_Return);
        QCOMPARE(bench.window.PageIndex(), 0);
    }

    // A wrong password brings the dialog with the file's name; a wrong answer brings it
    // again, the right one opens the file and the run goes on.
    void DecryptionAsksForTheFilesPassword() {
        WriteWhole(dir + "memo.txt", "the memo");
        EncryptWithEngine(dir + "memo.txt", "right");
        std::filesystem::remove(dir + "memo.txt");
        TWizardBench bench(drive);
        QStringList prompts;
        AnswerFilePasswords({QStringLiteral("still wrong"), QStringLiteral("right")}, &prompts);
        ChooseAndGo(bench, 1, dir + "memo.txt.enc");
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("wrong"));
        bench.Get<QCheckBox>("DecryptDeleteAfterCryptCheckBox")->setChecked(false);
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        QCOMPARE(prompts.size(), 2);
        for (const QString& prompt : prompts) QVERIFY2(prompt.contains(QStringLiteral("memo.txt.enc")), qPrintable(prompt));
        QCOMPARE(bench.window.PageIndex(), 7);
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was decrypted"));
        QCOMPARE(ReadWhole(dir + "memo.txt"), std::string("the memo"));
        QVERIFY(!bench.window.FilesTree()->DecryptFilter());
        // No password stays in the dialog for the next time it opens.
        QCOMPARE(OperationPassForm->PasswordEdit->text(), QString());
    }

    // Only the files done are counted; the ones left alone are listed with the reason.
    void FinishPageCountsOnlyTheFilesDone() {
        for (const char* name : {"one.txt", "two.txt", "plain.enc"}) WriteWhole(dir + name, name);
        EncryptWithEngine(dir + "one.txt", "right");
        EncryptWithEngine(dir + "two.txt", "other");
        std::filesystem::remove(dir + "one.txt");
        std::filesystem::remove(dir + "two.txt");
        TWizardBench bench(drive);
        AnswerFilePasswords({std::nullopt});
        QVERIFY(bench.Choose(1));
        bench.Tick(dir + "one.txt.enc");
        bench.Tick(dir + "two.txt.enc");
        bench.Tick(dir + "plain.enc");  // no tag: a message while the worker waits
        bench.Click("NextButton");
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("right"));
        bench.Get<QCheckBox>("DecryptDeleteAfterCryptCheckBox")->setChecked(false);
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        const QStringList shown = TMessageBox::TakeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains(QStringLiteral("plain.enc")));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was decrypted"));
        auto* skipped = bench.Get<QListWidget>("SkippedFilesListBox");
        QVERIFY(skipped->isVisibleTo(&bench.window));
        QCOMPARE(skipped->count(), 2);
        QVERIFY(skipped->item(0)->text().contains(QStringLiteral("plain.enc")));
        QVERIFY(skipped->item(1)->text().contains(QStringLiteral("two.txt.enc")));
        QCOMPARE(Listing(dir), Names({"one.txt", "one.txt.enc", "plain.enc", "two.txt.enc"}));

        // The next finish page lists nothing left out.
        bench.Click("FinishButton");
        WriteWhole(dir + "next.txt", "next");
        ChooseAndGo(bench, 2, dir + "next.txt");
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(bench.window.PageIndex(), 7);
        QVERIFY(!skipped->isVisibleTo(&bench.window));
    }

    // A wizard opened by the command line takes the list file's paths; the end of its run
    // ends the program instead of showing the finish page.
    void CommandLineEncryptEndsTheProgram() {
        WriteWhole(dir + "x.txt", "x");
        WriteWhole(dir + "y.txt", "y");
        WriteWhole(CmdLineListFile(), dir + "x.txt\n" + dir + "y.txt\n");
        SetProgramArguments({"/encrypt"});
        TWizardBench bench(drive);  // its first activation reads the command line
        QTRY_COMPARE(bench.window.PageIndex(), 1);
        QVERIFY(IsActivatedFromCommandLine());
        QVERIFY(!bench.Get<QPushButton>("BackButton")->isVisible());
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        QVERIFY(RunUntilQuit([&] { bench.Click("NextButton"); }));
        QVERIFY(!CurrentPath());
        QVERIFY(bench.window.PageIndex() != 7);
        QCOMPARE(Listing(dir), Names({"x.txt.enc", "y.txt.enc"}));
        QVERIFY(CmdLineFiles().empty());  // they belonged to that run
    }

    void CommandLineHideStartsAtOnce() {
        WriteWhole(dir + "h", "h");
        WriteWhole(CmdLineListFile(), dir + "h\n");
        SetProgramArguments({"-debug", "/hide"});
        int prompts = 0;
        test::WhenModal<TMainPassForm>([&](TMainPassForm* dialog) {
            ++prompts;
            test::AnswerPasswordDialog(dialog, QStringLiteral("main"));
        });
        std::optional<TWizardBench> bench;
        QVERIFY(RunUntilQuit([&] { bench.emplace(drive); }));
        QCOMPARE(prompts, 1);
        QVERIFY(HiddenItemsStore->FindItem(dir + "h"));
        QVERIFY(ReadWhole(dir + ".hidden").find('h') != std::string::npos);
    }

    void CommandLineThatStartsNothing_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("listFile");
        QTest::addColumn<int>("page");
        QTest::newRow("upper case") << "/ENCRYPT" << true << 0;
        QTest::newRow("no slash") << "encrypt" << true << 0;
        QTest::newRow("show") << "/show" << true << 0;
        QTest::newRow("hide refused") << "/hide" << true << 0;
        QTest::newRow("no list file") << "/shred" << false << 4;
    }
    void CommandLineThatStartsNothing() {
        QFETCH(QString, argument);
        QFETCH(bool, listFile);
        QFETCH(int, page);
        std::filesystem::remove(CmdLineListFile());
        if (listFile) WriteWhole(CmdLineListFile(), dir + "nothing\n");
        SetProgramArguments({argument.toStdString()});
        const bool hide = argument == QStringLiteral("/hide");
        bool refused = false;
        if (hide) test::WhenModal<TMainPassForm>([&](TMainPassForm* dialog) {
            test::AnswerPasswordDialog(dialog, std::nullopt);
            refused = true;
        });
        TWizardBench bench(drive);
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        // Its first activation reads the command line.
        QVERIFY(QTest::qWaitForWindowActive(&bench.window));
        QTest::qWait(20);
        QCOMPARE(refused, hide);
        QCOMPARE(bench.window.PageIndex(), page);
        QVERIFY(!IsActivatedFromCommandLine());
        QVERIFY(!bench.wizards.IsRunActive());
        QCOMPARE(TMessageBox::TakeShownTexts().size(), listFile ? 0 : 1);  // the list file's error
        if (hide) QVERIFY(HideRefused);
        QCOMPARE(Listing(dir), QStringList());
    }

    void ShredRemovesTheFile() {
        WriteWhole(dir + "old.txt", std::string(70000, 'x'));
        WriteWhole(dir + "keep.txt", "keep");
        TWizardBench bench(drive);
        ChooseAndGo(bench, 2, dir + "old.txt");
        QCOMPARE(bench.window.PageIndex(), 4);
        bench.Get<QComboBox>("ShredAlgorithmComboBox")->setCurrentIndex(1);
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Shredding completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was shredded"));
        QCOMPARE(Listing(dir), Names({"keep.txt"}));
    }

    // Hide three files with the main password: the progress window's bars stay at 0 and the
    // captions come back afterwards. Then show rows 0 and 2: row 2 goes first, and the store
    // keeps only the former item 1.
    void HideThenShowTwoOfThree() {
        // "d" is left unticked, so the folder is not ticked whole.
        for (const char* name : {"a", "b", "c", "d"}) WriteWhole(dir + name, name);
        TWizardBench bench(drive);
        AnswerMainPassword();
        QVERIFY(bench.Choose(3));
        for (const char* name : {"a", "b", "c"}) bench.Tick(dir + name);
        QList<int> barValues;
        QStringList captions;
        TProgressForm& progress = bench.wizards.ProgressForm();
        for (const char* bar : {"CurrentFileProgressBar", "AllFilesProgressBar"})
            connect(progress.findChild<QProgressBar*>(QLatin1String(bar)), &QProgressBar::valueChanged, this,
                    [&barValues](int value) { barValues << value; });
        connect(&bench.window, &QWidget::windowTitleChanged, this, [&captions](const QString& title) { captions << title; });
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(barValues, QList<int>());
        QCOMPARE(captions, QStringList({QStringLiteral("Vantrel - 0% completed..."), QStringLiteral("Vantrel")}));
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Hide operation completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("3 files were hidden"));
        QCOMPARE(HiddenItemsStore->ItemCount(), std::size_t(3));
        bench.Click("FinishButton");

        AnswerMainPassword();
        QVERIFY(bench.Choose(4));
        auto* list = bench.Get<QListWidget>("HiddenFilesListBox");
        QCOMPARE(list->count(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(list->item(row)->text(), QString::fromStdString(HiddenItemsStore->Item(std::size_t(row)).FilePath));
            QCOMPARE(list->item(row)->checkState(), Qt::Unchecked);
        }
        list->item(0)->setCheckState(Qt::Checked);
        list->item(2)->setCheckState(Qt::Checked);
        bench.Click("NextButton");

        QCOMPARE(bench.window.PageIndex(), 7);
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("2 files were shown"));
        QCOMPARE(HiddenItemsStore->ItemCount(), std::size_t(1));
        QCOMPARE(HiddenItemsStore->Item(0).FilePath, dir + "b");
        QCOMPARE(QString::fromStdString(ReadWhole(dir + ".hidden")).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 Names({"b"}));
    }

    void PassCountFollowsTheChosenEntry() {
        WriteWhole(dir + "p.txt", "pass count");
        TWizardBench bench(drive);
        for (const auto& [position, expected] : {std::pair{AllAtOnce(), 18}, std::pair{0, 1}, std::pair{AllAtOnce(), 18}}) {
            ChooseAndGo(bench, 0, dir + "p.txt");
            bench.Get<QCheckBox>("EncryptDeleteAfterCheckBox")->setChecked(false);
            bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(position);
            bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
            bench.Click("NextButton");
            QCOMPARE(ProgressPassCount(), expected);
            WaitForRunEnd(bench);
            QCOMPARE(bench.window.PageIndex(), 7);
            bench.Click("FinishButton");
        }
        ChooseAndGo(bench, 1, dir + "p.txt.enc");
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("pw"));
        bench.Click("NextButton");
        QCOMPARE(ProgressPassCount(), 1);
        WaitForRunEnd(bench);
    }

    // Cancel in the progress window: no output, the source as it was, the wizard on its
    // settings page, and its button starts a new run.
    void CancelFromTheProgressWindowLeavesNoOutput() {
        const std::string content = LargeContent();
        WriteWhole(dir + "big.bin", content);
        TWizardBench bench(drive);
        ChooseAndGo(bench, 0, dir + "big.bin");
        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(AllAtOnce());
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        bench.Click("NextButton");
        TProgressForm& progress = bench.wizards.ProgressForm();
        QVERIFY(progress.isVisible());
        QVERIFY(!progress.isModal());
        QVERIFY(!bench.Get<QPushButton>("NextButton")->isEnabled());  // one run at a time
        QVERIFY(!bench.Get<QListWidget>("OperationsListBox")->isEnabled());
        bench.wizards.StartWizard(2);  // however it is asked for
        QVERIFY(dynamic_cast<TEncryptPath*>(CurrentPath()));
        QTRY_VERIFY_WITH_TIMEOUT(GetDoneBytes() > 0, RunTimeout);
        QTRY_VERIFY(bench.window.windowTitle().startsWith(QStringLiteral("Vantrel - ")));
        QVERIFY(bench.window.windowTitle().endsWith(QStringLiteral("% completed...")));
        auto worker = CurrentWorker();

        QTest::mouseClick(progress.findChild<QPushButton*>(QStringLiteral("Cancel")), Qt::LeftButton);
        QVERIFY(!progress.isVisible());
        WaitForRunEnd(bench);
        QCOMPARE(worker->Outcome(), TRunOutcome::Cancelled);
        QCOMPARE(Listing(dir), Names({"big.bin"}));
        QVERIFY(ReadWhole(dir + "big.bin") == content);
        QCOMPARE(bench.window.windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(bench.window.PageIndex(), 1);
        QVERIFY(CurrentPath());
        QVERIFY(bench.Get<QPushButton>("NextButton")->isEnabled());
        QVERIFY(bench.Get<QListWidget>("OperationsListBox")->isEnabled());
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList());

        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(0);
        bench.Get<QCheckBox>("EncryptDeleteAfterCheckBox")->setChecked(false);
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(bench.window.PageIndex(), 7);
        QCOMPARE(Listing(dir), Names({"big.bin", "big.bin.enc"}));
    }

    // A run that stops on an error says so, naming the file, and leaves the wizard in place.
    void RunEndingOnAnErrorIsShown() {
        const std::string missing = dir + "gone.txt";
        WriteWhole(missing, "soon gone");
        TWizardBench bench(drive);
        ChooseAndGo(bench, 0, missing);
        std::filesystem::remove(missing);  // after it was ticked, before its turn
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        const QStringList shown = TMessageBox::TakeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(QString::fromStdString(missing)), qPrintable(shown[0]));
        QCOMPARE(bench.window.PageIndex(), 1);
        QVERIFY(CurrentPath());
        QVERIFY(bench.Get<QPushButton>("NextButton")->isEnabled());
        QVERIFY(!bench.wizards.ProgressForm().isVisible());
    }

    // Closing the main window during a run stops it and waits: no output, the source intact.
    void ClosingTheWindowDuringARunStopsTheWorker() {
        const std::string content = LargeContent();
        WriteWhole(dir + "big.bin", content);
        TWizardBench bench(drive);
        ChooseAndGo(bench, 0, dir + "big.bin");
        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(AllAtOnce());
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        bench.Click("NextButton");
        QTRY_VERIFY_WITH_TIMEOUT(GetDoneBytes() > 0, RunTimeout);
        bench.window.close();
        QVERIFY(!bench.window.isVisible());
        QVERIFY(!IsOperationRunning());
        QCOMPARE(Listing(dir), Names({"big.bin"}));
        QVERIFY(ReadWhole(dir + "big.bin") == content);
    }

    // The close arrives inside the password dialog's own event loop, while the worker waits for
    // that dialog: the dialog is answered with Cancel, and nobody waits on anybody.
    void ClosingTheWindowWhileThePasswordDialogWaits() {
        WriteWhole(dir + "memo.txt", "the memo");
        EncryptWithEngine(dir + "memo.txt", "right");
        std::filesystem::remove(dir + "memo.txt");
        const std::string encrypted = ReadWhole(dir + "memo.txt.enc");
        TWizardBench bench(drive);
        bool dialogOpenAtClose = false;
        test::WhenModal<TOperationPassForm>([&](TOperationPassForm* dialog) {
            dialogOpenAtClose = dialog->isVisible();
            dialog->PasswordEdit->setText(QStringLiteral("right"));  // typed, but never confirmed
            bench.window.close();
        });
        ChooseAndGo(bench, 1, dir + "memo.txt.enc");
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("wrong"));
        bench.Click("NextButton");
        QTRY_VERIFY_WITH_TIMEOUT(!bench.window.isVisible(), RunTimeout);
        QVERIFY(dialogOpenAtClose);
        QVERIFY(!OperationPassForm->isVisible());
        bench.wizards.PrepareQuit();  // the main routine's wait before shutdown
        QVERIFY(!IsOperationRunning());
        QCOMPARE(Listing(dir), Names({"memo.txt.enc"}));
        QVERIFY(ReadWhole(dir + "memo.txt.enc") == encrypted);
        QVERIFY(!bench.wizards.ProgressForm().isVisible());
    }
};

QTEST_MAIN(WizardWorkerTest)
#include "WizardWorker_test.moc"
