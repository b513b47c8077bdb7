#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/AppFolders.h"
#include "app/OptionsUnit.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "ui/MessageBox.h"
#include "ui/OptionsFormUnit.h"

using namespace Qt::StringLiterals;

class OptionsFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<vantrel::TOptionsForm> form;
    std::vector<std::vector<std::string>> started;

    template <typename T>
    T* Child(const char* name) {
        auto* child = form->findChild<T*>(QString::fromLatin1(name));
        if (!child) qFatal("no control %s", name);
        return child;
    }
    std::string Stored(const char* key) {
        return vantrel::GetPrivateProfileString(vantrel::GetDataFolder() + "options.ini", "Options", key, "absent");
    }
    void Show() {
        form->ShowGeneralPage();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->path()));
        vantrel::ResetAppFolders();
        vantrel::TMessageBox::Reset();
        started.clear();
        form = std::make_unique<vantrel::TOptionsForm>();
        form->StartProgram = [this](const std::string& program, const std::vector<std::string>& arguments) {
            std::vector<std::string> call = {program};
            call.insert(call.end(), arguments.begin(), arguments.end());
            started.push_back(call);
        };
        form->OpenUrl = [](const QUrl&) {};
    }
    void cleanup() {
        form.reset();
        home.reset();
        vantrel::ResetAppFolders();
    }

    void WithoutSettingsIntegrationIsOnAndCascadeOff() {
        Show();
        QVERIFY(Child<QCheckBox>("IntegrateCheckBox")->isChecked());
        QVERIFY(!Child<QCheckBox>("CascadedCheckBox")->isChecked());
        QCOMPARE(form->windowTitle(), u"Options"_s);
        QVERIFY(!form->isModal());
        QCOMPARE(Child<QTabWidget>("PageControl")->currentWidget()->objectName(), u"general"_s);
        QCOMPARE(Child<QGroupBox>("GroupBox1")->title(), u"Main password"_s);
        QCOMPARE(Child<QPushButton>("ok2")->toolTip(), u"Apply changes and close this window"_s);
        QCOMPARE(Child<QComboBox>("LanguageComboBox")->currentData().toInt(), 1033);
        QVERIFY(started.empty());
    }

    void OkStoresBothKeysAndStartsTheMatchingSwitch_data() {
        QTest::addColumn<bool>("integrate");
        QTest::addColumn<bool>("cascade");
        QTest::addColumn<QString>("switchName");
        QTest::newRow("off") << false << false << u"/deactivate"_s;
        QTest::newRow("on, cascaded") << true << true << u"/activate"_s;
    }
    void OkStoresBothKeysAndStartsTheMatchingSwitch() {
        QFETCH(bool, integrate);
        QFETCH(bool, cascade);
        QFETCH(QString, switchName);
        Show();
        Child<QCheckBox>("IntegrateCheckBox")->setChecked(integrate);
        Child<QCheckBox>("CascadedCheckBox")->setChecked(cascade);
        QTest::mouseClick(Child<QPushButton>("ok2"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(Stored("IntegrateContextMenu"), integrate ? "1" : "0");
        QCOMPARE(Stored("CascadeContextMenu"), cascade ? "1" : "0");
        QCOMPARE(Stored("LanguageID"), "absent");  // the language was not changed
        QCOMPARE(started.size(), 1u);
        QCOMPARE(started[0], (std::vector<std::string>{vantrel::ExecutablePath(), switchName.toStdString()}));
    }

    void CancelStoresNothingAndTheNextShowingReloads() {
        vantrel::WritePrivateProfileString(vantrel::GetDataFolder() + "options.ini", "Options", "CascadeContextMenu", "1");
        Show();
        QVERIFY(Child<QCheckBox>("CascadedCheckBox")->isChecked());
        Child<QCheckBox>("IntegrateCheckBox")->setChecked(false);
        Child<QCheckBox>("CascadedCheckBox")->setChecked(false);
        QTest::mouseClick(Child<QPushButton>("CancelButton"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(Stored("IntegrateContextMenu"), "absent");
        QVERIFY(started.empty());
        Show();
        QVERIFY(Child<QCheckBox>("IntegrateCheckBox")->isChecked());
        QVERIFY(Child<QCheckBox>("CascadedCheckBox")->isChecked());
    }

    void AChosenLanguageIsStoredForTheNextStart() {
        form->SetLanguageChoices({{1033, u"English"_s}, {1031, u"Deutsch"_s}}, 1033);
        Show();
        auto* combo = Child<QComboBox>("LanguageComboBox");
        QCOMPARE(combo->count(), 2);
        combo->setCurrentIndex(combo->findData(1031));
        QTest::mouseClick(Child<QPushButton>("ok2"), Qt::LeftButton);
        QCOMPARE(Stored("LanguageID"), "1031");
        QCOMPARE(vantrel::TOptions("").ReadInteger("LanguageID", 0), 1031);
    }

    void AnUnwritableSettingsFileIsReportedAndNothingStarts() {
        Show();
        QVERIFY(QDir().mkpath(QString::fromStdString(vantrel::GetDataFolder() + "options.ini")));  // a folder in its place
        vantrel::TMessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(Child<QPushButton>("ok2"), Qt::LeftButton);
        const QStringList shown = vantrel::TMessageBox::TakeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].contains(u"options.ini"_s));
        QVERIFY(form->isVisible());
        QVERIFY(started.empty());
    }

    void MainPasswordHelpAndLinksAct() {
        int passwordCalls = 0, helpCalls = 0;
        QList<QUrl> opened;
        form->OnChangeMainPassword = [&] { ++passwordCalls; };
        form->OnShowHelp = [&] { ++helpCalls; };
        form->OpenUrl = [&](const QUrl& url) { opened << url; };
        form->ShowAboutPage();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(Child<QTabWidget>("PageControl")->currentWidget()->objectName(), u"about"_s);
        QCOMPARE(Child<QLabel>("Label4")->text(), u"Version 1.2"_s);
        QCOMPARE(Child<QLabel>("ProgramLabel")->text(), u"Vantrel"_s);

        QTest::mouseClick(Child<QPushButton>("ChooseMainPassButton"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>("HelpButton"), Qt::LeftButton);
        QTest::keyClick(form.get(), Qt::Key_F1);
        emit Child<QLabel>("Label6")->linkActivated(u"#"_s);
        emit Child<QLabel>("Label1")->linkActivated(u"#"_s);
        emit Child<QLabel>("Label8")->linkActivated(u"#"_s);
        QCOMPARE(passwordCalls, 1);
        QCOMPARE(helpCalls, 3);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].scheme(), u"https"_s);
        QCOMPARE(opened[1].scheme(), u"mailto"_s);
    }
};

QTEST_MAIN(OptionsFormTest)
#include "OptionsForm_test.moc"
