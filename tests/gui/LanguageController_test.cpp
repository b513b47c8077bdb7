#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

#include "../TestFolder.h"
#include "app/InitFinal.h"
#include "i18n/LangData.h"
#include "i18n/LanguageManager.h"
#include "ui/LanguageController.h"

namespace {

using vantrel::LanguageManager;
using vantrel::TLanguageController;

// A few of the main window's controls, named as the language data names them, with their
// designed English texts; nested in a group box as real pages nest them.
struct SmallWindow {
    QWidget window;
    QLabel* label1 = new QLabel(QStringLiteral("What would you like to do?"));
    QLabel* label9 = new QLabel(QStringLiteral("Enter password:"));
    QLabel* filesLabel = new QLabel(QStringLiteral("12"));
    QLabel* link = new QLabel(QStringLiteral("<a href=\"change\">Change Main Password...</a>"));
    QPushButton* next = new QPushButton(QStringLiteral("Next"));
    QPushButton* help = new QPushButton(QStringLiteral("Help"));
    QComboBox* shred = new QComboBox;
    QListWidget* operations = new QListWidget;
    QObject* passwordDialog = new QObject(&window);

    SmallWindow() {
        window.setObjectName(QStringLiteral("MainForm"));
        window.setWindowTitle(QStringLiteral("Vantrel"));
        auto* group = new QGroupBox;
        auto* inGroup = new QVBoxLayout(group);
        inGroup->addWidget(label9);
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{label1, group, filesLabel, link, next, help, shred, operations})
            layout->addWidget(w);
        const auto name = [](QObject* o, const char* n) { o->setObjectName(QLatin1String(n)); };
        name(label1, "Label1");
        name(label9, "Label9");
        name(filesLabel, "FilesLabel");
        name(link, "ChangeMainPassLabel2");
        name(next, "NextButton");
        name(help, "HelpButton");
        name(shred, "ShredAlgorithmComboBox");
        name(operations, "OperationsListBox");
        name(passwordDialog, "PasswordOpenDialog");
        label1->setAccessibleName(label1->text());
        next->setToolTip(QStringLiteral("Show next step"));
        next->setStatusTip(QStringLiteral("Show next step"));
        help->setToolTip(QStringLiteral("Show Help file"));
        shred->addItems({QStringLiteral("Quick shred by filling with zero's"),
                         QStringLiteral("Fast shred, space filled by random characters"),
                         QStringLiteral("Anti-software recovery tools")});
        operations->addItems({QStringLiteral("Encrypt"), QStringLiteral("Decrypt"), QStringLiteral("Shred"),
                              QStringLiteral("Hide"), QStringLiteral("Show")});
        passwordDialog->setProperty("filter", QStringLiteral("Text files (*.TXT)|*.txt| All files|*.*"));
        passwordDialog->setProperty("title", QStringLiteral("Choose file which content will be used as password"));
    }
};

QByteArray Utf16File(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

// Written by someone else: UTF-16, comments, odd lines, the section given twice.
const QString ForeignFile = QStringLiteral(
    "; Deutsch, von Hand geschrieben\r\n"
    "LANGID=1031\r\n"
    "[MainForm]\r\n"
    "1=Vantrel (Deutsch)\r\n"
    "10=Weiter\r\n"
    "9=Zum nächsten Schritt|Geht zum nächsten Schritt des Assistenten\r\n"
    "[abc\r\n"
    "14=Was möchten Sie tun?\r\n"
    "[Options]\r\n"
    "18=gehört nicht zum Hauptfenster\r\n"
    "[ mainform ]\r\n"
    "36=Schnell: Nullen\\nSchnell: Zufall\r\n"
    "35=Schnell: Zufall\r\n"
    "17=Verschlüsseln\\nEntschlüsseln\\nVernichten\\nVerbergen\\nEinblenden\r\n"
    "39=Das <link>Hauptpasswort</link> ändern\r\n"
    "43=Textdateien (*.txt)|*.txt|Alle Dateien|*.*\r\n"
    "18=Passwort:\r\n");

class LanguageControllerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vantrel::test::TestFolder> dir_;

    void UseForeignFile() {
        const std::string file = dir_->File("foreign.lng");
        dir_->Write("foreign.lng", Utf16File(ForeignFile).toStdString());
        QVERIFY(LanguageManager().RegisterLanguageFile(file));
    }

private slots:
    void init() { dir_ = std::make_unique<vantrel::test::TestFolder>(); }
    void cleanup() {
        LanguageManager().SetLanguage(1033);
        dir_.reset();
    }

    void WindowLoadedInALanguageShowsItsTextsAndTheDesignedEnglishForTheRest() {
        UseForeignFile();
        LanguageManager().SetLanguage(1031);
        SmallWindow w;
        auto* controller = new TLanguageController(&w.window);
        QCOMPARE(controller->SectionName(), QStringLiteral("MainForm"));

        QCOMPARE(w.window.windowTitle(), QStringLiteral("Vantrel (Deutsch)"));
        QCOMPARE(w.label1->text(), QStringLiteral("Was möchten Sie tun?"));
        QCOMPARE(w.label1->accessibleName(), QStringLiteral("Was möchten Sie tun?"));
        QCOMPARE(w.label9->text(), QStringLiteral("Passwort:"));
        QCOMPARE(w.next->text(), QStringLiteral("Weiter"));
        QCOMPARE(w.next->toolTip(), QStringLiteral("Zum nächsten Schritt"));
        QCOMPARE(w.next->statusTip(), QStringLiteral("Geht zum nächsten Schritt des Assistenten"));
        QCOMPARE(w.help->text(), QStringLiteral("Help"));
        QCOMPARE(w.help->toolTip(), QStringLiteral("Show Help file"));
        QCOMPARE(w.filesLabel->text(), QStringLiteral("12"));

        // Two of three schemes named; the third keeps its English name, and Text picked the
        // item of that text.
        QCOMPARE(w.shred->count(), 3);
        QCOMPARE(w.shred->itemText(0), QStringLiteral("Schnell: Nullen"));
        QCOMPARE(w.shred->itemText(2), QStringLiteral("Anti-software recovery tools"));
        QCOMPARE(w.shred->currentIndex(), 1);
        QCOMPARE(w.operations->item(4)->text(), QStringLiteral("Einblenden"));

        QCOMPARE(w.link->text(), QStringLiteral("Das <a href=\"change\">Hauptpasswort</a> ändern"));
        QCOMPARE(w.link->textFormat(), Qt::RichText);

        QCOMPARE(w.passwordDialog->property("filter").toString(),
                 QStringLiteral("Textdateien (*.txt)|*.txt|Alle Dateien|*.*"));
        QCOMPARE(w.passwordDialog->property("title").toString(),
                 QStringLiteral("Choose file which content will be used as password"));
    }

    void SwitchingBackRestoresTheDesignedTexts() {
        UseForeignFile();
        SmallWindow w;
        auto* controller = new TLanguageController(&w.window);
        QSignalSpy changing(controller, &TLanguageController::OnLanguageChanging);
        QSignalSpy changed(controller, &TLanguageController::OnLanguageChanged);

        LanguageManager().SetLanguage(1031);
        QCOMPARE(w.next->text(), QStringLiteral("Weiter"));
        w.filesLabel->setText(QStringLiteral("34"));  // set by the program, not designed
        LanguageManager().SetLanguage(1033);

        QCOMPARE(changing.count(), 2);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(w.window.windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(w.next->text(), QStringLiteral("Next"));
        QCOMPARE(w.next->statusTip(), QStringLiteral("Show next step"));
        QCOMPARE(w.label1->accessibleName(), QStringLiteral("What would you like to do?"));
        QCOMPARE(w.shred->itemText(0), QStringLiteral("Quick shred by filling with zero's"));
        QCOMPARE(w.shred->currentIndex(), 0);
        QCOMPARE(w.link->text(), QStringLiteral("<a href=\"change\">Change Main Password...</a>"));
        QCOMPARE(w.filesLabel->text(), QStringLiteral("34"));
    }

    void FiltersDecideWhichDesignedTextsAreKept() {
        UseForeignFile();
        SmallWindow w;
        TLanguageController::Settings settings;
        settings.IgnoreList = QStringList{QStringLiteral("*.hint")};
        settings.options = TLanguageController::lcoIgnoreEmptyProps;  // digits pass, emptiness does not
        new TLanguageController(&w.window, vantrel::MainFormLangData(), settings);

        LanguageManager().SetLanguage(1031);
        QCOMPARE(w.next->toolTip(), QStringLiteral("Show next step"));
        w.filesLabel->setText(QStringLiteral("34"));
        LanguageManager().SetLanguage(1033);
        QCOMPARE(w.filesLabel->text(), QStringLiteral("12"));
    }

    void ALinkWithoutMarksInItsTranslationStaysALink() {
        dir_->Write("plain.lng", "\xEF\xBB\xBFLANGID=1049\n[MainForm]\n39=Сменить пароль\n");
        QVERIFY(LanguageManager().RegisterLanguageFile(dir_->File("plain.lng")));
        LanguageManager().SetLanguage(1049);
        SmallWindow w;
        new TLanguageController(&w.window);
        QCOMPARE(w.link->text(), QStringLiteral("<a href=\"change\">Сменить пароль</a>"));
    }

    void WholeStartInGermanTranslatesTheWindowFromTheShippedFile() {
        dir_->Write("Vantrel/options.ini", "[Options]\nLanguageID=1031\n");
        vantrel::StartUp();
        SmallWindow w;
        new TLanguageController(&w.window);
        QCOMPARE(QString::fromStdString(vantrel::LangConstant("Next_")), QStringLiteral("Weiter"));
        QCOMPARE(w.next->text(), QStringLiteral("Weiter"));
        QCOMPARE(w.label1->text(), QStringLiteral("Was möchten Sie tun?"));
        QCOMPARE(w.operations->item(0)->text(), QStringLiteral("Verschlüsseln"));
        QCOMPARE(w.link->text(), QStringLiteral("<a href=\"change\">Hauptpasswort ändern …</a>"));
        vantrel::ShutDown();

        // The choice the options dialog offers: English first, then the shipped languages.
        const auto choices = vantrel::LanguageChoices();
        QVERIFY(choices.size() >= 3);
        QCOMPARE(choices[0], std::make_pair(1033, QStringLiteral("English")));
        QCOMPARE(choices[1], std::make_pair(1031, QStringLiteral("Deutsch")));
        QCOMPARE(choices[2], std::make_pair(1049, QStringLiteral("Русский")));
    }
};

}  // namespace

QTEST_MAIN(LanguageControllerTest)
#include "LanguageController_test.moc"
