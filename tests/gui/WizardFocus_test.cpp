#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItem>

#include "GuiTestBase.h"
#include "ui/FilesTreeView.h"
#include "ui/MainFormUnit.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"

using namespace vantrel;
using namespace Qt::StringLiterals;

// The keyboard path through a wizard with the real main window and wizard layer.
class WizardFocusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::UseFixedFont(); }

    // While a run goes the step's button is disabled and the focus moves on to Cancel; a run
    // that ends without ending the wizard leaves it on its step, and Return must not then end it.
    void RunLeavingTheWizardOnItsStepGivesTheFocusBackToTheStepButton() {
        test::TEngineFixture engine;
        const QString folder = engine.Path(u"files"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/a.txt"_s;
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray(64 << 20, 'x'));  // long enough to be cancelled while it runs
        }
        TMainForm form;
        form.FilesTree()->SetDriveSource([folder] { return std::vector<TDriveInfo>{{folder.toStdString(), TDriveType::Fixed}}; });
        TWizardController wizards(form);
        form.SetWizardDriver(&wizards);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        wizards.StartWizard(0);
        TFilesTreeView* tree = form.FilesTree();
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QVERIFY(root);
        tree->expandItem(root);
        QCOMPARE(root->childCount(), 1);
        tree->ToggleNodeCheck(root->child(0));
        auto* next = form.findChild<QPushButton*>(u"NextButton"_s);
        next->click();
        QCOMPARE(form.PageIndex(), int(TMainForm::PageEncrypt));
        form.findChild<QLineEdit*>(u"EncryptPasswordEdit"_s)->setText(u"pw"_s);

        // Cancelled from the progress window, the run leaves the wizard on its step.
        next->setFocus(Qt::TabFocusReason);
        QTest::keyClick(next, Qt::Key_Return);
        QVERIFY(wizards.IsRunActive());
        QVERIFY(form.focusWidget() != next);
        auto* progress = form.findChild<QWidget*>(u"ProgressForm"_s);
        QVERIFY(progress);
        QTest::mouseClick(progress->findChild<QPushButton*>(u"Cancel"_s), Qt::LeftButton);
        QTRY_VERIFY(!wizards.IsRunActive());
        QCOMPARE(form.PageIndex(), int(TMainForm::PageEncrypt));
        QVERIFY(!QFile::exists(file + u".enc"_s));
        // The window's focus widget is what takes the keyboard when the window is active again.
        QCOMPARE(form.focusWidget(), static_cast<QWidget*>(next));
    }

    // Back on the first step ends the wizard; the focus must not then fall onto Exit, where the
    // next Return would end the program.
    void WizardEndedByBackLeavesTheFocusOnTheOperationList() {
        test::TEngineFixture engine;
        TMainForm form;
        TWizardController wizards(form);
        form.SetWizardDriver(&wizards);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        wizards.StartWizard(2);
        auto* back = form.findChild<QPushButton*>(u"BackButton"_s);
        back->setFocus(Qt::TabFocusReason);
        QTest::keyClick(back, Qt::Key_Space);
        QCOMPARE(form.PageIndex(), int(TMainForm::PageMain));
        QCOMPARE(form.focusWidget(), form.findChild<QWidget*>(u"OperationsListBox"_s));
    }
};

QTEST_MAIN(WizardFocusTest)
#include "WizardFocus_test.moc"
