#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

#include <QFile>

#include "GuiTestBase.h"
#include "ui/ChangeMainPassFormUnit.h"
#include "ui/FilesTreeView.h"
#include "ui/MainFormUnit.h"
#include "ui/OperationsListBox.h"

using namespace vantrel;
using namespace Qt::StringLiterals;

namespace {

template <class T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::UseFixedFont(); }

    void WrapDescription_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("shorter than the width") << u"Securely delete files"_s << 30 << QStringList{u"Securely delete files"_s};
        QTest::newRow("as long as the width wraps") << u"abc def"_s << 7 << QStringList{u"abc "_s, u"def"_s};
        QTest::newRow("blank stays at the line's end")
            << u"Encrypt files and change their extensions"_s << 20
            << QStringList{u"Encrypt files and "_s, u"change their "_s, u"extensions"_s};
        QTest::newRow("no blank in the first W characters") << u"abcdefghij klm"_s << 5 << QStringList{u"abcdefghij klm"_s};
        QTest::newRow("backslash breaks") << u"C:\\Windows\\System32"_s << 12 << QStringList{u"C:\\Windows\\"_s, u"System32"_s};
        QTest::newRow("rest without blank is the last line") << u"ab cdefghijkl"_s << 5 << QStringList{u"ab "_s, u"cdefghijkl"_s};
    }
    void WrapDescription() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QStringList, lines);
        QCOMPARE(vantrel::WrapDescription(text, width), lines);
    }

    void ControlsCarryTheirNamesTextsAndInitialState() {
        test::TEngineFixture engine;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(form.size(), QSize(TMainForm::ClientWidth, TMainForm::ClientHeight));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(Child<QStackedWidget>(form, "Notebook")->count(), 8);
        QCOMPARE(form.PageIndex(), 0);
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("HideBackImage"))->parentWidget() ==
                Child<QStackedWidget>(form, "Notebook")->widget(6));

        const std::pair<const char*, const char*> texts[] = {
            {"Label1", "What would you like to do?"},
            {"Label2", "Select desired action from the list above"},
            {"Label5", "Choose algorithm you want to crypt with:"},
            {"Label9", "Enter password:"},
            {"Label4", "Enter password:"},
            {"Label6", "Choose your shredding algorithm:"},
            {"Label7", "Which hidden files do you want to show?"},
            {"EncryptMaskPasswordCheckBox", "Mask password"},
            {"EncryptDeleteAfterCheckBox", "Delete source files after encryption"},
            {"DecryptDeleteAfterCryptCheckBox", "Delete source files after decryption"},
            {"HelpButton", "Help"},
            {"ExitButton", "Exit"},
            {"FinishButton", "Finish"},
            {"EncryptLoadPassdButton", "..."},
            {"DecryptLoadPassButton", "..."},
        };
        for (const auto& [name, text] : texts) {
            QWidget* w = Child<QWidget>(form, name);
            const QString shown = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                           : qobject_cast<QAbstractButton*>(w)->text();
            QCOMPARE(shown, QString::fromUtf8(text));
        }
        QCOMPARE(Child<QPushButton>(form, "OptionsButton")->accessibleName(), QStringLiteral("Show Options dialog"));
        QCOMPARE(Child<QPushButton>(form, "NextButton")->toolTip(), QStringLiteral("Show next step"));

        // Idle: only Options, Help and Exit; Finish waits beneath Exit.
        QVERIFY(!Child<QPushButton>(form, "BackButton")->isVisible());
        QVERIFY(!Child<QPushButton>(form, "NextButton")->isVisible());
        QVERIFY(!Child<QPushButton>(form, "FinishButton")->isVisible());
        QVERIFY(Child<QPushButton>(form, "ExitButton")->isVisible());
        QVERIFY(!Child<QLabel>(form, "ChangeMainPassLabel1")->isVisibleTo(&form));
        QVERIFY(!Child<QListWidget>(form, "SkippedFilesListBox")->isVisibleTo(&form));

        // The settings pages come filled from the registries, first entry chosen, its
        // description below.
        auto* algorithms = Child<QComboBox>(form, "EncryptAlgorithmComboBox");
        QCOMPARE(algorithms->count(), AlgorithmCount());
        QCOMPARE(algorithms->currentIndex(), 0);
        QCOMPARE(Child<QLabel>(form, "AlgorithmChooseLabel")->text().toStdString(), GetAlgorithmDescription(AlgorithmAt(0)));
        algorithms->setCurrentIndex(3);
        QCOMPARE(Child<QLabel>(form, "AlgorithmChooseLabel")->text().toStdString(), GetAlgorithmDescription(AlgorithmAt(3)));
        auto* schemes = Child<QComboBox>(form, "ShredAlgorithmComboBox");
        QCOMPARE(schemes->count(), int(ShredAlgorithmList.size()));
        schemes->setCurrentIndex(2);
        QCOMPARE(Child<QLabel>(form, "ShredAlgorithmDecsLabel")->text().toStdString(),
                 GetShredDescription(*ShredAlgorithmList[2]));

        auto* dialog = form.findChild<QObject*>(QStringLiteral("PasswordOpenDialog"));
        QVERIFY(dialog);
        QCOMPARE(dialog->property("title").toString(), QStringLiteral("Choose file which content will be used as password"));
        QVERIFY(test::ClippedControls(form).isEmpty());
    }

    void MaskCheckBoxAndFieldFlipTogether() {
        test::TEngineFixture engine;
        TMainForm form;
        auto* edit = Child<QLineEdit>(form, "DecryptPasswordEdit");
        auto* mask = Child<QCheckBox>(form, "DecryptMaskPasswordCheckBox");
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        mask->click();
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        mask->click();
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
    }

    void LoadButtonFillsTheFieldWithTheFileLinesAndCancelKeepsIt() {
        test::TEngineFixture engine;
        TMainForm form;
        auto* edit = Child<QLineEdit>(form, "EncryptPasswordEdit");
        auto* load = Child<QPushButton>(form, "EncryptLoadPassdButton");
        const QString file = engine.Path(QStringLiteral("key.txt"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\xEF\xBB\xBF" "a\nb");
        out.close();

        TFileDialog::SetNextFileName(file);
        load->click();
        QCOMPARE(edit->text(), QStringLiteral("a\r\nb\r\n"));

        TFileDialog::SetNextFileName(QString());  // cancelled
        load->click();
        QCOMPARE(edit->text(), QStringLiteral("a\r\nb\r\n"));

        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        TFileDialog::SetNextFileName(engine.Path(QStringLiteral("missing.txt")));
        load->click();
        QCOMPARE(edit->text(), QStringLiteral("a\r\nb\r\n"));
        const QStringList shown = TMessageBox::TakeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(QStringLiteral("missing.txt")), qPrintable(shown[0]));
    }

    void ButtonsReachTheDriverAndNextWantsACheckedFile() {
        test::TEngineFixture engine;
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(driver.calls, QStringList{u"ActivateFromCommandLine"_s});  // the first activation
        driver.calls.clear();
        auto* next = Child<QPushButton>(form, "NextButton");
        auto* exit = Child<QPushButton>(form, "ExitButton");
        next->show();

        form.ShowPage(TMainForm::PageChooseFiles);
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        next->click();
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList{QStringLiteral("Please select some files")});
        QVERIFY(driver.calls.isEmpty());

        form.ShowPage(TMainForm::PageEncrypt);
        next->click();
        Child<QPushButton>(form, "BackButton")->click();
        exit->setText(QStringLiteral("&Cancel"));
        exit->click();
        QCOMPARE(driver.calls, (QStringList{u"Next"_s, u"Back"_s, u"CancelWizard"_s}));
        QVERIFY(form.isVisible());

        // The finish page: Exit hidden shows Finish, which leads back to page 0.
        form.ShowPage(TMainForm::PageFinish);
        next->hide();
        exit->hide();
        QVERIFY(Child<QPushButton>(form, "FinishButton")->isVisible());
        QTest::keyClick(Child<QLabel>(form, "FilesLabel"), Qt::Key_Return);  // reaches the window
        QCOMPARE(form.PageIndex(), 0);
        QVERIFY(exit->isVisible());
        QVERIFY(!Child<QPushButton>(form, "FinishButton")->isVisible());
    }

    void OperationListHighlightsUnderThePointerAndStartsAfterAClick() {
        test::TEngineFixture engine;
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(driver.calls, QStringList{u"ActivateFromCommandLine"_s});  // the first activation
        driver.calls.clear();
        auto* list = Child<TOperationsListBox>(form, "OperationsListBox");
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->item(2)->text(), QStringLiteral("Shred"));
        for (int i = 0; i < 5; ++i)
            QVERIFY2(list->visualItemRect(list->item(i)).bottom() < list->viewport()->height(),
                     qPrintable(QStringLiteral("%1 %2 %3").arg(i).arg(list->visualItemRect(list->item(i)).bottom()).arg(list->viewport()->height())));

        const QPoint third = list->visualItemRect(list->item(3)).center();
        QMouseEvent move(QEvent::MouseMove, third, list->viewport()->mapToGlobal(third), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QVERIFY(list->item(3)->isSelected());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
        QVERIFY(driver.calls.isEmpty());  // not at once: 100 ms later
        QTRY_VERIFY(!driver.calls.isEmpty());
        QCOMPARE(driver.calls, QStringList{QStringLiteral("StartWizard 3")});

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(list, &leave);
        QVERIFY(list->selectedItems().isEmpty());
        // A click where no entry is starts nothing.
        list->setFixedHeight(list->height() + 40);
        QApplication::processEvents();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
        QTest::qWait(150);
        QCOMPARE(driver.calls.size(), 1);
    }

    void StatusText_data() {
        QTest::addColumn<QString>("applicationHint");
        QTest::addColumn<QString>("windowHint");
        QTest::addColumn<QString>("shown");
        QTest::newRow("long part of a control's hint") << u"Help|Show the help file"_s << u""_s << u"Show the help file"_s;
        QTest::newRow("hint without a bar") << u"Show next step"_s << u"Step"_s << u"Show next step"_s;
        QTest::newRow("nothing under the pointer: the step")
            << u""_s << u"Encrypting files - Step 1 of 2"_s << u"Encrypting files - Step 1 of 2"_s;
        QTest::newRow("long part of the window's hint") << u""_s << u"Step|Step 2 of 2"_s << u"Step 2 of 2"_s;
        QTest::newRow("idle") << u""_s << u""_s << u""_s;
    }
    void StatusText() {
        QFETCH(QString, applicationHint);
        QFETCH(QString, windowHint);
        QFETCH(QString, shown);
        test::TEngineFixture engine;
        TMainForm form;
        form.SetStepHint(windowHint);
        QStatusTipEvent tip(applicationHint);
        QApplication::sendEvent(Child<QPushButton>(form, "HelpButton"), &tip);
        QCOMPARE(form.StatusText(), shown);
    }

    void ButtonHintReachesTheStatusLineThroughTheToolkit() {
        test::TEngineFixture engine;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SetStepHint(QStringLiteral("Shredding files - Step 1 of 2"));
        QCOMPARE(form.StatusText(), QStringLiteral("Shredding files - Step 1 of 2"));
        auto* help = Child<QPushButton>(form, "HelpButton");
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(help, &enter);
        QTRY_COMPARE(form.StatusText(), QStringLiteral("Show Help file"));
    }

    void FirstActivationAsksForAMainPasswordOnlyWhenNoneIsStored_data() {
        QTest::addColumn<bool>("stored");
        QTest::newRow("none stored") << false;
        QTest::newRow("one stored") << true;
    }
    void FirstActivationAsksForAMainPasswordOnlyWhenNoneIsStored() {
        QFETCH(bool, stored);
        test::TEngineFixture engine;
        HiddenItemsStore->SetPassword(stored ? "kept" : "");
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        bool asked = false;
        test::WhenModal<TChangeMainPassForm>(
            [](TChangeMainPassForm* dialog) {
                dialog->PasswordEdit->setText(QStringLiteral("first"));
                dialog->AgainPasswordEdit->setText(QStringLiteral("first"));
                dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
            },
            &asked);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(driver.calls, QStringList{QStringLiteral("ActivateFromCommandLine")});
        QCOMPARE(asked, !stored);
        QVERIFY(HiddenItemsStore->CheckPassword(stored ? "kept" : "first"));

        // Later activations do nothing.
        form.hide();
        form.show();
        form.activateWindow();
        QTest::qWait(50);
        QCOMPARE(driver.calls.size(), 1);
        if (!asked) qDeleteAll(qApp->findChildren<QTimer*>());
    }

    void LongTextsGrowTheWindowInsteadOfBeingClipped() {
        test::TEngineFixture engine;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Texts changed on a shown window, as a translation does.
        const QString longWord = QStringLiteral("Verschlüsselungsalgorithmusauswahlbestätigung");
        Child<QCheckBox>(form, "EncryptDeleteAfterCheckBox")
            ->setText(QStringLiteral("Quelldateien nach der Verschlüsselung unwiderruflich löschen und ") + longWord);
        Child<QLabel>(form, "Label3")->setText(QStringLiteral("Wählen Sie versteckte Dateien aus. ").repeated(60));
        Child<QLabel>(form, "ChooseFilesDescLabel")->setText(QStringLiteral("Выберите файлы, папки или диски. ").repeated(12));
        QTRY_VERIFY(form.width() > TMainForm::ClientWidth);
        QVERIFY(form.width() > TMainForm::ClientWidth);
        QVERIFY(form.height() > TMainForm::ClientHeight);
        for (int page = 0; page < 8; ++page) {
            form.ShowPage(page);
            QApplication::processEvents();
            const QStringList clipped = test::ClippedControls(form);
            QVERIFY2(clipped.isEmpty(), qPrintable(QStringLiteral("page %1: ").arg(page) + clipped.join(u' ')));
        }
    }

    // The panel's buttons are flat: without a frame of its own, the keyboard focus on them is unseen.
    void PanelButtonShowsTheKeyboardFocusAndFinishHandsItToTheList() {
        test::TEngineFixture engine;
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* options = Child<QPushButton>(form, "OptionsButton");
        auto* help = Child<QPushButton>(form, "HelpButton");
        auto* exit = Child<QPushButton>(form, "ExitButton");
        auto* finish = Child<QPushButton>(form, "FinishButton");

        const QImage plain = help->grab().toImage();
        options->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(options, Qt::Key_Tab);
        QTRY_VERIFY(help->hasFocus());
        QVERIFY(help->grab().toImage() != plain);
        QTest::keyClick(help, Qt::Key_Tab);
        QTRY_VERIFY(!help->hasFocus());
        QCOMPARE(help->grab().toImage(), plain);

        // Finish pressed from the keyboard, by Space on it or by Return anywhere: the focus must
        // not fall onto Exit, where the next Return would end the program.
        for (bool space : {true, false}) {
            form.ShowPage(TMainForm::PageFinish);
            exit->hide();
            finish->setFocus(Qt::TabFocusReason);
            QTest::keyClick(space ? static_cast<QWidget*>(finish) : &form, space ? Qt::Key_Space : Qt::Key_Return);
            QCOMPARE(form.PageIndex(), 0);
            QVERIFY(exit->isVisible());
            QVERIFY(Child<TOperationsListBox>(form, "OperationsListBox")->hasFocus());
        }
    }

    // The change-password link is one Tab away from the list above it, and Return opens it.
    void ChangePasswordLinkIsReachedByOneTabAndOpensWithReturn() {
        test::TEngineFixture engine;
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.ShowPage(TMainForm::PageHiddenList);
        auto* list = Child<QListWidget>(form, "HiddenFilesListBox");
        auto* link = Child<QLabel>(form, "ChangeMainPassLabel2");
        list->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(list, Qt::Key_Tab);
        QTRY_VERIFY(link->hasFocus());

        QString opened;
        QTimer::singleShot(0, &form, [&opened] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = QString::fromLatin1(modal->metaObject()->className());
                modal->close();
            }
        });
        QTest::keyClick(link, Qt::Key_Return);
        QCOMPARE(opened, QStringLiteral("vantrel::TChangeMainPassForm"));
    }

    void ExitButtonClosesTheWindowAndEndsTheLoop() {
        test::TEngineFixture engine;
        test::TRecordingDriver driver;
        TMainForm form;
        form.SetWizardDriver(&driver);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(driver.calls, QStringList{u"ActivateFromCommandLine"_s});  // the first activation
        driver.calls.clear();
        auto* exit = Child<QPushButton>(form, "ExitButton");
        // Clicked while the loop runs, the button must make exec() return.
        QTimer::singleShot(0, exit, [exit] { QTest::mouseClick(exit, Qt::LeftButton); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(2); });  // guard: never hang
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!form.isVisible());
        QVERIFY(driver.calls.contains(QStringLiteral("PrepareQuit")));
    }
};

QTEST_MAIN(MainFormTest)
#include "MainForm_test.moc"
