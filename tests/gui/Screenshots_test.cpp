// Every page of the main window and every dialog drawn offscreen with a fixed font, checked
// for clipped text and, when VANTREL_SCREENSHOT_DIR names a folder, saved there as PNG
// (scripts/screenshots runs this at scale 1 and 2).
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "GuiTestBase.h"
#include "i18n/LangConstants.h"
#include "ui/ChangeMainPassFormUnit.h"
#include "ui/FilesTreeView.h"
#include "ui/MainFormUnit.h"
#include "ui/MainPassFormUnit.h"
#include "ui/OperationPassFormUnit.h"

using namespace vantrel;
using namespace Qt::StringLiterals;

namespace {

QString Constant(const char* name) { return QString::fromStdString(LangConstant(name)); }

}  // namespace

class ScreenshotsTest : public QObject {
    Q_OBJECT

public:
    ScreenshotsTest() {
        const QByteArray wanted = qgetenv("VANTREL_SCREENSHOT_DIR");
        folder_ = wanted.isEmpty() ? scratch_.path() : QString::fromLocal8Bit(wanted);
        QDir().mkpath(folder_);
    }

private:
    void Save(QWidget& window, const QString& name) {
        QApplication::processEvents();
        const QStringList clipped = test::ClippedControls(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(name + u": "_s + clipped.join(u' ')));
        const QPixmap shot = window.grab();
        const QString scale = QString::number(qRound(shot.devicePixelRatio()));
        QVERIFY(shot.save(folder_ + u"/"_s + name + u"@"_s + scale + u"x.png"_s));
    }

    QTemporaryDir scratch_;
    QString folder_;

private slots:
    void initTestCase() { test::UseFixedFont(); }

    void MainWindowPages() {
        test::TEngineFixture engine;
        // A small folder stands in for the drives, so the picture repeats.
        const std::string drive = engine.Path(u"Documents"_s).toStdString();
        std::filesystem::create_directories(drive + "/Projects");
        std::filesystem::create_directories(drive + "/Photos");
        for (const char* file : {"budget.xlsx", "letter.odt", "report.enc", "notes.txt"}) std::ofstream(drive + "/" + file) << "x";

        TMainForm form;
        form.FilesTree()->SetDriveSource([drive] { return std::vector<TDriveInfo>{{drive, TDriveType::Fixed}}; });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Save(form, u"page0-main"_s);

        auto* next = form.findChild<QPushButton*>(u"NextButton"_s);
        auto* back = form.findChild<QPushButton*>(u"BackButton"_s);
        auto* exit = form.findChild<QPushButton*>(u"ExitButton"_s);
        next->show();
        back->show();
        exit->setText(Constant("Cancel"));

        // The wizards copy their operation's picture into the choose-files and finish pages.
        const QPixmap encryptPicture = form.findChild<QLabel*>(u"EncryptBackImage"_s)->pixmap();
        form.findChild<QLabel*>(u"ChooseFileBackImage"_s)->setPixmap(encryptPicture);
        form.findChild<QLabel*>(u"FinishBackImage"_s)->setPixmap(encryptPicture);

        form.ShowPage(TMainForm::PageEncrypt);
        next->setText(Constant("Encrypt"));
        form.SetStepHint(Constant("Encrypting_files_step2"));
        Save(form, u"page1-encrypt"_s);

        next->setText(Constant("Next_"));
        form.SetStepHint(Constant("Encrypting_files_step1"));
        form.findChild<QLabel*>(u"ChooseFilesHeaderLabel"_s)->setText(Constant("Choose_files_to_encrypt"));
        form.findChild<QLabel*>(u"ChooseFilesDescLabel"_s)->setText(Constant("Choose_files_to_encrypt_full"));
        form.BuildDrivesTree();
        QTreeWidgetItem* root = form.FilesTree()->topLevelItem(0);
        root->setExpanded(true);
        form.FilesTree()->ToggleNodeCheck(root->child(0));
        form.ShowPage(TMainForm::PageChooseFiles);
        Save(form, u"page2-choose-files"_s);

        form.ShowPage(TMainForm::PageDecrypt);
        Save(form, u"page3-decrypt"_s);
        form.ShowPage(TMainForm::PageShred);
        Save(form, u"page4-shred"_s);

        auto* hidden = form.findChild<QListWidget*>(u"HiddenFilesListBox"_s);
        for (const char* path : {"/home/ann/Private", "/home/ann/diary.txt", "/media/ann/USB/"}) {
            auto* item = new QListWidgetItem(QString::fromUtf8(path), hidden);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        form.ShowPage(TMainForm::PageHiddenList);
        Save(form, u"page5-hidden-items"_s);
        form.ShowPage(TMainForm::PagePictures);
        Save(form, u"page6-pictures"_s);

        next->hide();
        back->hide();
        exit->setText(Constant("Exit"));
        exit->hide();
        form.SetStepHint(QString());
        form.findChild<QLabel*>(u"FinishInfoLabel"_s)->setText(Constant("Encryption_completed"));
        form.findChild<QLabel*>(u"FilesLabel"_s)->setText(u"3 files were encrypted"_s);
        new QListWidgetItem(u"/home/ann/locked.doc: permission denied"_s,
                            form.findChild<QListWidget*>(u"SkippedFilesListBox"_s));
        form.ShowPage(TMainForm::PageFinish);
        Save(form, u"page7-finish"_s);
    }

    void Dialogs() {
        test::TEngineFixture engine;
        TMainPassForm mainPass;
        mainPass.show();
        mainPass.PasswordEdit->setText(u"secret"_s);
        Save(mainPass, u"dialog-main-password"_s);
        TChangeMainPassForm change;
        change.show();
        Save(change, u"dialog-new-main-password"_s);
        TOperationPassForm operation;
        operation.findChild<QLabel*>(u"EnterPassLabel"_s)->setText(u"Enter vaild password for report.enc"_s);
        operation.show();
        Save(operation, u"dialog-file-password"_s);
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "Screenshots_test.moc"
