// The three password windows against the hidden-items store: the main-password loop, setting
// a new one typed twice, and the per-file password request.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "GuiTestBase.h"
#include "ui/ChangeMainPassFormUnit.h"
#include "ui/MainFormUnit.h"
#include "ui/MainPassFormUnit.h"
#include "ui/OperationPassFormUnit.h"

using namespace vantrel;
using namespace Qt::StringLiterals;

namespace {

// Types the text into the dialog's first field and presses one of its buttons.
template <class T>
void Answer(const QString& text, const char* button = "OKBtn") {
    test::WhenModal<T>([text, button](T* dialog) {
        dialog->PasswordEdit->setText(text);
        dialog->template findChild<QPushButton*>(QLatin1String(button))->click();
    });
}

}  // namespace

class PasswordDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::UseFixedFont(); }

    void CaptionsTextsAndDefaultSizes() {
        test::TEngineFixture engine;
        TMainPassForm mainPass;
        TChangeMainPassForm change;
        TOperationPassForm operation;
        QCOMPARE(mainPass.windowTitle(), u"Enter Main Password"_s);
        QCOMPARE(change.windowTitle(), u"Set New Main Password"_s);
        QCOMPARE(operation.windowTitle(), u"Enter valid password"_s);
        // The default client size, taller only where this font wraps the text into more lines.
        const std::pair<QDialog*, QSize> sizes[] = {{&mainPass, TMainPassForm::DefaultSize},
                                                    {&change, TChangeMainPassForm::DefaultSize},
                                                    {&operation, TOperationPassForm::DefaultSize}};
        for (const auto& [dialog, size] : sizes) {
            QCOMPARE(dialog->width(), size.width());
            QVERIFY(dialog->height() >= size.height() && dialog->height() < size.height() + 30);
        }
        QCOMPARE(change.findChild<QLabel*>(u"Label2"_s)->text(), u"Enter new password again:"_s);
        QCOMPARE(change.findChild<QLabel*>(u"EnterPassLabel"_s)->buddy(), change.PasswordEdit);
        QVERIFY(mainPass.findChild<QPushButton*>(u"OKBtn"_s)->isDefault());
        QCOMPARE(change.AgainPasswordEdit->echoMode(), QLineEdit::Password);

        // Every showing starts with empty fields and the focus in the first one.
        change.PasswordEdit->setText(u"left over"_s);
        change.AgainPasswordEdit->setText(u"left over"_s);
        change.show();
        QVERIFY(QTest::qWaitForWindowExposed(&change));
        QVERIFY(change.PasswordEdit->text().isEmpty() && change.AgainPasswordEdit->text().isEmpty());
        QTRY_VERIFY(change.PasswordEdit->hasFocus());
        QVERIFY(test::ClippedControls(change).isEmpty());
    }

    void MainPasswordWrongThenRightThenCancel() {
        test::TEngineFixture engine;
        HiddenItemsStore->SetPassword("Secret");
        TMainForm form;

        // Letter case counts; the wrong answer is told and the prompt comes back.
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        test::WhenModal<TMainPassForm>([](TMainPassForm* dialog) {
            dialog->PasswordEdit->setText(u"secret"_s);
            dialog->findChild<QPushButton*>(u"OKBtn"_s)->click();
            Answer<TMainPassForm>(u"Secret"_s);
        });
        QVERIFY(form.CheckMainPassword());
        QCOMPARE(TMessageBox::TakeShownTexts(), QStringList{u"You entered wrong password!"_s});

        Answer<TMainPassForm>(u"Secret"_s, "CancelBtn");
        QVERIFY(!form.CheckMainPassword());
        QVERIFY(TMessageBox::TakeShownTexts().isEmpty());
        QVERIFY(HiddenItemsStore->CheckPassword("Secret"));
    }

    void WithoutAMainPasswordTheFirstAnswerBecomesIt() {
        test::TEngineFixture engine;
        HiddenItemsStore->SetPassword("");
        TMainForm form;
        Answer<TMainPassForm>(u"chosen"_s);
        QVERIFY(form.CheckMainPassword());
        QVERIFY(HiddenItemsStore->HasPassword());
        QVERIFY(HiddenItemsStore->CheckPassword("chosen"));
        // Only the hash reaches the file.
        HiddenItemsStore->Save();
        QFile store(QString::fromStdString(GetStoreFileName()));
        QVERIFY(store.open(QIODevice::ReadOnly));
        QVERIFY(!store.readAll().contains("chosen"));
    }

    void NewMainPasswordMustBeTypedTwiceAlike() {
        test::TEngineFixture engine;
        TChangeMainPassForm change;
        bool mismatchSeen = false;
        TMessageBox::SetNextAnswer(QMessageBox::Ok);
        test::WhenModal<TChangeMainPassForm>([&mismatchSeen](TChangeMainPassForm* dialog) {
            dialog->PasswordEdit->setText(u"one"_s);
            dialog->AgainPasswordEdit->setText(u"two"_s);
            dialog->findChild<QPushButton*>(u"OKBtn"_s)->click();
            // Refused: still open, both fields as typed.
            mismatchSeen = dialog->isVisible() && dialog->PasswordEdit->text() == u"one"_s &&
                           dialog->AgainPasswordEdit->text() == u"two"_s;
            dialog->AgainPasswordEdit->setText(u"one"_s);
            dialog->findChild<QPushButton*>(u"OKBtn"_s)->click();
        });
        QCOMPARE(change.exec(), int(QDialog::Accepted));
        QVERIFY(mismatchSeen);
        QCOMPARE(TMessageBox::TakeShownTexts(),
                 QStringList{u"Password you entered second time is different from the one you entered first time!"_s});
        QVERIFY(HiddenItemsStore->CheckPassword("one"));

        // Two empty fields unset it.
        test::WhenModal<TChangeMainPassForm>(
            [](TChangeMainPassForm* dialog) { dialog->findChild<QPushButton*>(u"OKBtn"_s)->click(); });
        QCOMPARE(change.exec(), int(QDialog::Accepted));
        QVERIFY(!HiddenItemsStore->HasPassword());
    }

    void FilePasswordNamesTheFileAndHandsBackTheText() {
        test::TEngineFixture engine;
        TMainForm form;
        QString typed;
        Answer<TOperationPassForm>(u"pa55"_s);
        QVERIFY(form.AskOperationPassword(u"report.enc"_s, typed));
        QCOMPARE(typed, u"pa55"_s);
        auto* label = OperationPassForm->findChild<QLabel*>(u"EnterPassLabel"_s);
        QCOMPARE(label->text(), u"Enter vaild password for report.enc"_s);

        Answer<TOperationPassForm>(u"given up"_s, "CancelBtn");
        QVERIFY(!form.AskOperationPassword(u"notes.enc"_s, typed));
        QCOMPARE(typed, u"given up"_s);
        QCOMPARE(label->text(), u"Enter vaild password for notes.enc"_s);
    }
};

QTEST_MAIN(PasswordDialogsTest)
#include "PasswordDialogs_test.moc"
