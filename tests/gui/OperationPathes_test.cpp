// The wizards' moves, pages and texts, driven through the main window's own controls. Runs
// that reach a worker are in WizardWorker_test.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "GuiTestBase.h"
#include "hide/HiddenConfig.h"
#include "ui/MainPassFormUnit.h"
#include "wizard/DecryptPath.h"
#include "wizard/EncryptPath.h"
#include "wizard/HidePath.h"
#include "wizard/OperationPathes.h"
#include "wizard/ShredPath.h"

using namespace vantrel;
using vantrel::test::TWizardBench;

class OperationPathesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TStartedProgram> program;
    std::string drive;  // holds two files, "a.enc" and "b"
    std::string fileA;

    static QString Constant(const char* name) { return ConstantText(name); }

private slots:
    void initTestCase() {
        program = std::make_unique<test::TStartedProgram>();
        drive = program->Home().Path() + "drive";
        fileA = drive + "/a.enc";  // listed with and without the decrypt filter
        test::WriteWhole(fileA, "a");
        test::WriteWhole(drive + "/b", "b");  // so that the drive is only partly ticked
    }
    void cleanupTestCase() { program.reset(); }

    // The state table of a two-step wizard, with each wizard's pages, texts and picture.
    void TwoStepWizardMovesThroughItsPages_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("settingsPage");
        QTest::addColumn<QString>("lastCaption");
        QTest::addColumn<QString>("hint1");
        QTest::addColumn<QString>("hint2");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("picture");
        QTest::newRow("encrypt") << 0 << 1 << "Encrypt" << "Encrypting_files_step1" << "Encrypting_files_step2"
                                 << "Choose_files_to_encrypt" << "EncryptBackImage";
        QTest::newRow("decrypt") << 1 << 3 << "Decrypt" << "Decrypting_files_step1" << "Decrypting_files_step2"
                                 << "Choose_file_to_decrypt" << "DecryptBackImage";
        QTest::newRow("shred") << 2 << 4 << "Shred" << "Shredding_files_step1" << "Shredding_files_step2"
                               << "Choose_files_to_shred" << "ShredBackImage";
    }
    void TwoStepWizardMovesThroughItsPages() {
        QFETCH(int, position);
        QFETCH(int, settingsPage);
        QFETCH(QString, lastCaption);
        QFETCH(QString, hint1);
        QFETCH(QString, hint2);
        QFETCH(QString, header);
        QFETCH(QString, picture);
        TWizardBench bench(drive);
        auto* next = bench.Get<QPushButton>("NextButton");
        auto* back = bench.Get<QPushButton>("BackButton");
        auto* exit = bench.Get<QPushButton>("ExitButton");
        bench.window.BuildDrivesTree();
        bench.Tick(fileA);  // ticks of an earlier wizard do not survive
        QCOMPARE(bench.window.CheckedCount(), 1);

        QVERIFY(bench.Choose(position));
        QCOMPARE(bench.window.CheckedCount(), 0);
        QCOMPARE(bench.window.PageIndex(), 2);
        QCOMPARE(CurrentPath()->CurrentStep, 0);
        QVERIFY(next->isVisible() && back->isVisible());
        QCOMPARE(exit->text(), QStringLiteral("&Cancel"));
        QCOMPARE(next->text(), QStringLiteral("Next"));
        QCOMPARE(bench.StepHint(), Constant(hint1.toLatin1()));
        QCOMPARE(bench.Text("ChooseFilesHeaderLabel"), Constant(header.toLatin1()));
        QCOMPARE(bench.Text("ChooseFilesDescLabel"), Constant((header + QStringLiteral("_full")).toLatin1()));
        const QImage expected = bench.Get<QLabel>(picture.toLatin1())->pixmap().toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(bench.Get<QLabel>("ChooseFileBackImage")->pixmap().toImage(), expected);
        QCOMPARE(bench.Get<QLabel>("FinishBackImage")->pixmap().toImage(), expected);

        // Next with nothing ticked is refused where it stands.
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.Click("NextButton");
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList{Constant("Please_select_files")});
        QCOMPARE(CurrentPath()->CurrentStep, 0);

        bench.Tick(fileA);
        const int ticked = bench.window.CheckedCount();
        QVERIFY(ticked > 0);
        bench.Click("NextButton");
        QCOMPARE(bench.window.PageIndex(), settingsPage);
        QCOMPARE(CurrentPath()->CurrentStep, 1);
        QCOMPARE(next->text(), lastCaption);
        QCOMPARE(bench.StepHint(), Constant(hint2.toLatin1()));

        bench.Click("BackButton");
        QCOMPARE(bench.window.PageIndex(), 2);
        QCOMPARE(CurrentPath()->CurrentStep, 0);
        QCOMPARE(next->text(), QStringLiteral("Next"));
        QCOMPARE(bench.StepHint(), Constant(hint1.toLatin1()));
        QCOMPARE(bench.window.CheckedCount(), ticked);  // going back keeps the ticks

        bench.Click("BackButton");  // Back on the first step ends the wizard
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.window.PageIndex(), 0);
        QVERIFY(!next->isVisible() && !back->isVisible());
        QCOMPARE(exit->text(), QStringLiteral("Exit"));
        QCOMPARE(next->text(), QStringLiteral("Next"));
        QCOMPARE(bench.StepHint(), QString());
    }

    // The last step's Next runs again on every press: two presses, two refusals.
    void LastStepRunsOnEveryPress() {
        TWizardBench bench(drive);
        QVERIFY(bench.Choose(0));
        bench.Tick(fileA);
        bench.Click("NextButton");
        bench.Get<QLineEdit>("EncryptPasswordEdit")->clear();
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        bench.Click("NextButton");
        bench.Click("NextButton");
        const QString refusal = QStringLiteral("Enter password before perfom this operation please.");
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList({refusal, refusal}));
        QCOMPARE(CurrentPath()->CurrentStep, 1);
        QCOMPARE(bench.window.PageIndex(), 1);
        QVERIFY(!bench.wizards.IsRunActive());
    }

    void CancelButtonEndsTheWizard() {
        TWizardBench bench(drive);
        QVERIFY(bench.Choose(2));
        bench.Tick(fileA);
        bench.Click("NextButton");
        bench.Click("ExitButton");
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.window.PageIndex(), 0);
        QCOMPARE(bench.Get<QPushButton>("ExitButton")->text(), QStringLiteral("Exit"));
        QVERIFY(!bench.Get<QPushButton>("NextButton")->isVisible());
        QVERIFY(bench.window.isVisible());  // a cancelled wizard does not end the program
        QCOMPARE(test::ReadWhole(fileA), std::string("a"));
    }

    void DeleteAfterBoxIsTickedAgainOnEachEntry() {
        TWizardBench bench(drive);
        auto* deleteAfter = bench.Get<QCheckBox>("EncryptDeleteAfterCheckBox");
        QVERIFY(bench.Choose(0));
        bench.Tick(fileA);
        bench.Click("NextButton");
        QVERIFY(deleteAfter->isChecked());
        QTest::mouseClick(deleteAfter, Qt::LeftButton);
        QVERIFY(!deleteAfter->isChecked());
        bench.Click("BackButton");
        bench.Click("NextButton");
        QVERIFY(deleteAfter->isChecked());
    }

    // The filter is on for as long as the decrypt wizard lives, however it ends.
    void DecryptFilterFollowsTheWizard() {
        TWizardBench bench(drive);
        TFilesTreeView& tree = *bench.window.FilesTree();
        QVERIFY(bench.Choose(1));
        QVERIFY(tree.DecryptFilter());
        bench.Click("ExitButton");
        QVERIFY(!tree.DecryptFilter());

        QVERIFY(bench.Choose(1));
        QVERIFY(tree.DecryptFilter());
        bench.Click("BackButton");
        QVERIFY(!CurrentPath());
        QVERIFY(!tree.DecryptFilter());

        QVERIFY(bench.Choose(1));
        bench.wizards.StartWizard(0);  // a new wizard ends the current one first
        QVERIFY(!tree.DecryptFilter());
        QCOMPARE(bench.window.PageIndex(), 2);
        QVERIFY(dynamic_cast<TEncryptPath*>(CurrentPath()));
    }

    // Cancelling the main password leaves the window as it was; giving it sets the window up.
    void HideAndShowAskTheMainPasswordFirst_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("hide") << 3 << 2 << "Hide" << "Hiding files - Step 1 of 1";
        QTest::newRow("show") << 4 << 5 << "Show" << "Showing files - Step 1 of 1";
    }
    void HideAndShowAskTheMainPasswordFirst() {
        QFETCH(int, position);
        QFETCH(int, page);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        TWizardBench bench(drive);
        bench.window.BuildDrivesTree();
        bench.Tick(fileA);  // whether the wizard builds the tree afresh
        int prompts = 0;
        test::WhenModal<TMainPassForm>([&](TMainPassForm* dialog) {
            ++prompts;
            test::AnswerPasswordDialog(dialog, std::nullopt);
        });
        QVERIFY(bench.Choose(position, [&] { return prompts == 1; }));
        QApplication::processEvents();
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.window.PageIndex(), 0);
        QVERIFY(!bench.Get<QPushButton>("NextButton")->isVisible());
        QCOMPARE(bench.Get<QPushButton>("ExitButton")->text(), QStringLiteral("Exit"));
        QCOMPARE(bench.window.CheckedCount(), 1);
        if (position == 3) QVERIFY(HideRefused);

        // A wrong password is refused with a message and asked again; the right one goes on.
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        test::WhenModal<TMainPassForm>([&](TMainPassForm* dialog) {
            ++prompts;
            test::AnswerPasswordDialog(dialog, QStringLiteral("not it"));
            test::WhenModal<TMainPassForm>([&](TMainPassForm* again) {
                ++prompts;
                test::AnswerPasswordDialog(again, QStringLiteral("main"));
            });
        });
        QVERIFY(bench.Choose(position));
        QCOMPARE(prompts, 3);
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList{Constant("Wrong_password")});
        QCOMPARE(bench.window.PageIndex(), page);
        QCOMPARE(bench.Get<QPushButton>("NextButton")->text(), caption);
        QCOMPARE(bench.StepHint(), hint);
        QCOMPARE(bench.Get<QLabel>("ChangeMainPassLabel1")->isVisibleTo(&bench.window), position == 3);
        QCOMPARE(bench.window.CheckedCount(), position == 3 ? 0 : 1);  // show leaves the tree alone
        if (position == 3) QVERIFY(!HideRefused);

        bench.Click("BackButton");  // one step: Back ends it
        QVERIFY(!CurrentPath());
        QVERIFY(!bench.Get<QLabel>("ChangeMainPassLabel1")->isVisibleTo(&bench.window));
    }

    void ShowWithNothingTickedCountsZero() {
        TWizardBench bench(drive);
        test::WhenModal<TMainPassForm>([](TMainPassForm* dialog) { test::AnswerPasswordDialog(dialog, QStringLiteral("main")); });
        QVERIFY(bench.Choose(4));
        bench.Click("NextButton");
        QVERIFY(!CurrentPath());
        QCOMPARE(bench.window.PageIndex(), 7);
        QCOMPARE(bench.Text("FinishInfoLabel"), QStringLiteral("Show operation completed"));
        QCOMPARE(bench.Text("FilesLabel"), QStringLiteral("0 file was shown"));
        QVERIFY(!bench.Get<QPushButton>("ExitButton")->isVisible());
        bench.Click("FinishButton");
        QCOMPARE(bench.window.PageIndex(), 0);
        QVERIFY(bench.Get<QPushButton>("ExitButton")->isVisible());
    }

    void FindPathByParameterIsExact_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("found");
        QTest::newRow("encrypt") << "/encrypt" << "TEncryptPath";
        QTest::newRow("decrypt") << "/decrypt" << "TDecryptPath";
        QTest::newRow("shred") << "/shred" << "TShredPath";
        QTest::newRow("hide") << "/hide" << "THidePath";
        QTest::newRow("case") << "/Encrypt" << "";
        QTest::newRow("no slash") << "encrypt" << "";
        QTest::newRow("show is not registered") << "/show" << "";
        QTest::newRow("longer") << "/encrypt " << "";
    }
    void FindPathByParameterIsExact() {
        QFETCH(QString, argument);
        QFETCH(QString, found);
        TWizardBench bench(drive);  // registers the kinds while it lives
        const TOperationPathClass* pathClass = FindPathByParameter(argument.toStdString());
        QCOMPARE(pathClass ? QString::fromLatin1(pathClass->ClassName) : QString(), found);
    }
};

QTEST_MAIN(OperationPathesTest)
#include "OperationPathes_test.moc"
