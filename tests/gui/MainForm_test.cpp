#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ui/MainFormUnit.h"

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void BareWindowShowsCaptionAndExit() {
        vantrel::TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(form.size(), QSize(vantrel::TMainForm::ClientWidth, vantrel::TMainForm::ClientHeight));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));

        auto* exit = form.findChild<QPushButton*>(QStringLiteral("ExitButton"));
        QVERIFY(exit);
        QVERIFY(exit->isVisible());
        QCOMPARE(exit->text(), QStringLiteral("Exit"));
        QCOMPARE(exit->toolTip(), QStringLiteral("Exit"));
        QVERIFY(form.rect().contains(exit->mapTo(&form, exit->rect().bottomRight())));
    }

    void ExitButtonClosesTheWindowAndEndsTheLoop() {
        vantrel::TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* exit = form.findChild<QPushButton*>(QStringLiteral("ExitButton"));
        QVERIFY(exit);

        // Clicked while the loop runs, the button must make exec() return.
        QTimer::singleShot(0, exit, [exit] { QTest::mouseClick(exit, Qt::LeftButton); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(2); });  // guard: never hang
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(MainFormTest)
#include "MainForm_test.moc"
