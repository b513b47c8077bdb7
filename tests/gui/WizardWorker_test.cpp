// Whole runs through the wizards: clicks on the main window, a worker on its own thread, the
// file-password dialog answered while the worker waits, cancel and quit during a run.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

#include "WizardTestEnvironment.h"
#include "app/CmdLineActivate.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "operations/FilesIterationCallbacks.h"
#include "operations/FilesIterationThread.h"
#include "wizard/OperationPathes.h"
#include "wizard/ProgressDlgUnit.h"

using namespace vantrel;
using vantrel::test::Listing;
using vantrel::test::ReadWhole;
using vantrel::test::WizardBench;
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

// The password dialog, answered as a user would once it is up.
void AnswerPasswordDialog(test::FakeMainWindow& window, std::vector<std::optional<QString>> answers) {
    window.onPasswordDialog = [answers = std::move(answers), turn = std::size_t(0)](QDialog& dialog) mutable {
        const std::optional<QString> answer = turn < answers.size() ? answers[turn] : std::nullopt;
        ++turn;
        QTimer::singleShot(0, &dialog, [&dialog, answer] {
            if (!answer) return dialog.reject();
            dialog.findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(*answer);
            dialog.accept();
        });
    };
}

}  // namespace

class WizardWorkerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestFolder> home;
    std::string dir;  // a fresh folder for each test

    // Runs the event loop until the program is asked to quit; false when it never is.
    static bool RunUntilQuit(const std::function<void()>& start) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
        guard.start(RunTimeout);
        QTimer::singleShot(0, qApp, start);
        return QCoreApplication::exec() == 0;
    }

    void WaitForRunEnd(WizardBench& bench) {
        QTRY_VERIFY_WITH_TIMEOUT(!bench.wizards.IsRunActive(), RunTimeout);
    }
    void ChooseAndGo(WizardBench& bench, int position, const std::string& path, bool isFile) {
        bench.wizards.StartWizard(position);
        bench.window.Tick(path, isFile);
        bench.Click("NextButton");
    }

private slots:
    void initTestCase() {
        home = std::make_unique<test::TestFolder>();
        StartUp();
    }
    void cleanupTestCase() {
        ShutDown();
        home.reset();
    }
    void init() {
        static int n = 0;
        dir = home->Path() + "run" + std::to_string(++n) + "/";
        std::filesystem::create_directories(dir);
        HiddenItemsStore->SetPassword("");
        while (HiddenItemsStore->ItemCount() > 0) HiddenItemsStore->DeleteItem(0);
    }
    void cleanup() {
        SetActivatedFromCommandLine(false);
        ResetProgramArguments();
        ClearCmdLineFiles();
    }

    void WholeEncryptionByClicks() {
        WriteWhole(dir + "a.txt", "alpha");
        WriteWhole(dir + "b.txt", "bravo");
        WizardBench bench;
        ChooseAndGo(bench, 0, dir.substr(0, dir.size() - 1), false);
        QCOMPARE(bench.window.PageIndex(), 1);
        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(3);
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("s3cret"));
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        QCOMPARE(bench.window.PageIndex(), 7);
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Encryption completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("2 files were encrypted"));
        QVERIFY(!bench.Get<QPushButton>("ExitButton")->isVisible());
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
    }

    // An empty or wrong password brings the dialog with the file's name; the right answer
    // opens the file and the run goes on.
    void DecryptionAsksForTheFilesPassword() {
        WriteWhole(dir + "memo.txt", "the memo");
        EncryptWithEngine(dir + "memo.txt", "right");
        std::filesystem::remove(dir + "memo.txt");
        WizardBench bench;
        AnswerPasswordDialog(bench.window, {QStringLiteral("still wrong"), QStringLiteral("right")});
        ChooseAndGo(bench, 1, dir + "memo.txt.enc", true);
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("wrong"));
        bench.Get<QCheckBox>("DecryptDeleteAfterCryptCheckBox")->setChecked(false);
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        QCOMPARE(bench.window.askedFiles, std::vector<QString>(2, QStringLiteral("memo.txt.enc")));
        QCOMPARE(bench.window.PageIndex(), 7);
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was decrypted"));
        QCOMPARE(ReadWhole(dir + "memo.txt"), std::string("the memo"));
        QVERIFY(!bench.window.decryptFilter);
    }

    // Only the files done are counted; the ones left alone are listed with the reason.
    void FinishPageCountsOnlyTheFilesDone() {
        for (const char* name : {"one.txt", "two.txt", "plain.txt"}) WriteWhole(dir + name, name);
        EncryptWithEngine(dir + "one.txt", "right");
        EncryptWithEngine(dir + "two.txt", "other");
        std::filesystem::remove(dir + "one.txt");
        std::filesystem::remove(dir + "two.txt");
        WizardBench bench;
        AnswerPasswordDialog(bench.window, {std::nullopt});
        bench.wizards.StartWizard(1);
        bench.window.Tick(dir + "one.txt.enc", true);
        bench.window.Tick(dir + "two.txt.enc", true);
        bench.window.Tick(dir + "plain.txt", true);  // no tag: a message while the worker waits
        bench.Click("NextButton");
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("right"));
        bench.Get<QCheckBox>("DecryptDeleteAfterCryptCheckBox")->setChecked(false);
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.Click("NextButton");
        WaitForRunEnd(bench);

        const QStringList shown = TMessageBox::TakeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains(QStringLiteral("plain.txt")));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was decrypted"));
        auto* skipped = bench.Get<QListWidget>("SkippedFilesListBox");
        QVERIFY(skipped->isVisibleTo(&bench.window));
        QCOMPARE(skipped->count(), 2);
        QVERIFY(skipped->item(0)->text().contains(QStringLiteral("two.txt.enc")));
        QVERIFY(skipped->item(1)->text().contains(QStringLiteral("plain.txt")));
        QCOMPARE(Listing(dir), Names({"one.txt", "one.txt.enc", "plain.txt", "two.txt.enc"}));
    }

    // A wizard opened by the command line takes the list file's paths; the end of its run
    // ends the program instead of showing the finish page.
    void CommandLineEncryptEndsTheProgram() {
        WriteWhole(dir + "x.txt", "x");
        WriteWhole(dir + "y.txt", "y");
        WriteWhole(CmdLineListFile(), dir + "x.txt\n" + dir + "y.txt\n");
        SetProgramArguments({"/encrypt"});
        WizardBench bench;
        bench.wizards.ActivateFromCommandLine();
        QVERIFY(IsActivatedFromCommandLine());
        QCOMPARE(bench.window.PageIndex(), 1);
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
        WizardBench bench;
        QVERIFY(RunUntilQuit([&] { bench.wizards.ActivateFromCommandLine(); }));
        QCOMPARE(bench.window.mainPasswordPrompts, 1);
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
        WizardBench bench;
        bench.window.mainPasswordAnswers = {false};
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.wizards.ActivateFromCommandLine();
        QCOMPARE(bench.window.PageIndex(), page);
        QVERIFY(!IsActivatedFromCommandLine());
        QVERIFY(!bench.wizards.IsRunActive());
        QCOMPARE(TMessageBox::TakeShownTexts().size(), listFile ? 0 : 1);  // the list file's error
    }

    void ShredRemovesTheFile() {
        WriteWhole(dir + "old.txt", std::string(70000, 'x'));
        WizardBench bench;
        ChooseAndGo(bench, 2, dir + "old.txt", true);
        QCOMPARE(bench.window.PageIndex(), 4);
        bench.Get<QComboBox>("ShredAlgorithmComboBox")->setCurrentIndex(1);
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Shredding completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("1 file was shredded"));
        QCOMPARE(Listing(dir), QStringList());
    }

    // Hide three files, then show rows 0 and 2: row 2 goes first, and the store keeps only the
    // former item 1.
    void HideThenShowTwoOfThree() {
        for (const char* name : {"a", "b", "c"}) WriteWhole(dir + name, name);
        WizardBench bench;
        bench.wizards.StartWizard(3);
        QVERIFY(CurrentPath());
        for (const char* name : {"a", "b", "c"}) bench.window.Tick(dir + name, true);
        bench.Click("NextButton");
        WaitForRunEnd(bench);
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Hide operation completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("3 files were hidden"));
        QCOMPARE(HiddenItemsStore->ItemCount(), std::size_t(3));
        bench.Click("FinishButton");

        bench.wizards.StartWizard(4);
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
        WizardBench bench;
        bench.Get<QCheckBox>("EncryptDeleteAfterCheckBox")->setChecked(false);
        for (const auto& [position, expected] : {std::pair{AllAtOnce(), 18}, std::pair{0, 1}, std::pair{AllAtOnce(), 18}}) {
            ChooseAndGo(bench, 0, dir + "p.txt", true);
            bench.Get<QCheckBox>("EncryptDeleteAfterCheckBox")->setChecked(false);
            bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(position);
            bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
            bench.Click("NextButton");
            QCOMPARE(ProgressPassCount(), expected);
            WaitForRunEnd(bench);
            QCOMPARE(bench.window.PageIndex(), 7);
        }
        ChooseAndGo(bench, 1, dir + "p.txt.enc", true);
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
        WizardBench bench;
        ChooseAndGo(bench, 0, dir + "big.bin", true);
        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(AllAtOnce());
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        bench.Click("NextButton");
        TProgressForm& progress = bench.wizards.ProgressForm();
        QVERIFY(progress.isVisible());
        QVERIFY(!bench.Get<QPushButton>("NextButton")->isEnabled());  // one run at a time
        QVERIFY(!bench.Get<QListWidget>("OperationsListBox")->isEnabled());
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
        WizardBench bench;
        const std::string missing = dir + "gone.txt";
        ChooseAndGo(bench, 0, missing, true);
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
        WizardBench bench;
        ChooseAndGo(bench, 0, dir + "big.bin", true);
        bench.Get<QComboBox>("EncryptAlgorithmComboBox")->setCurrentIndex(AllAtOnce());
        bench.Get<QLineEdit>("EncryptPasswordEdit")->setText(QStringLiteral("pw"));
        bench.Click("NextButton");
        QTRY_VERIFY_WITH_TIMEOUT(GetDoneBytes() > 0, RunTimeout);
        bench.window.close();
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
        WizardBench bench;
        bool dialogOpenAtClose = false;
        bench.window.onPasswordDialog = [&](QDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&] {
                dialogOpenAtClose = dialog.isVisible();
                bench.window.close();
            });
        };
        ChooseAndGo(bench, 1, dir + "memo.txt.enc", true);
        bench.Get<QLineEdit>("DecryptPasswordEdit")->setText(QStringLiteral("wrong"));
        bench.Click("NextButton");
        QTRY_VERIFY_WITH_TIMEOUT(bench.window.closes == 1, RunTimeout);
        QVERIFY(dialogOpenAtClose);
        bench.wizards.PrepareQuit();  // the main routine's wait before shutdown
        QVERIFY(!IsOperationRunning());
        QCOMPARE(bench.window.askedFiles.size(), std::size_t(1));
        QCOMPARE(Listing(dir), Names({"memo.txt.enc"}));
        QVERIFY(ReadWhole(dir + "memo.txt.enc") == encrypted);
        QVERIFY(!bench.wizards.ProgressForm().isVisible());
    }
};

QTEST_MAIN(WizardWorkerTest)
#include "WizardWorker_test.moc"
