#pragma once

// A stand-in for the main window with the controls the wizards reach by name, its button
// handlers wired as the main window wires them, and a files tree reduced to a list of ticked
// paths. The file-password dialog is a real modal dialog ("OperationPassForm"), so the tests
// answer it as a user would while the worker waits.

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "encryption/CryptoAlgorithms.h"
#include "i18n/LangConstants.h"
#include "shred/ShredAlgorithms.h"
#include "ui/MessageBox.h"
#include "wizard/WizardWindow.h"

namespace vantrel::test {

class FakeMainWindow : public QWidget, public TWizardWindow {
public:
    FakeMainWindow() {
        setObjectName(QStringLiteral("MainForm"));
        setWindowTitle(QStringLiteral("Vantrel"));
        auto* layout = new QVBoxLayout(this);
        Notebook = new QStackedWidget(this);
        layout->addWidget(Notebook);
        for (int i = 0; i < 8; ++i) {
            Pages[i] = new QWidget(Notebook);
            new QVBoxLayout(Pages[i]);
            Notebook->addWidget(Pages[i]);
        }
        Picture("EncryptBackImage", 1, Qt::red);
        Picture("ChooseFileBackImage", 2, Qt::white);
        Picture("DecryptBackImage", 3, Qt::green);
        Picture("ShredBackImage", 4, Qt::blue);
        Picture("ShowBackImage", 5, Qt::yellow);
        Picture("HideBackImage", 6, Qt::cyan);
        Picture("FinishBackImage", 7, Qt::white);

        Add<QListWidget>("OperationsListBox", 0);
        auto* algorithms = Add<QComboBox>("EncryptAlgorithmComboBox", 1);
        for (int i = 0; i < AlgorithmCount(); ++i) algorithms->addItem(QString::fromStdString(AlgorithmBoxText(i)));
        Add<QLineEdit>("EncryptPasswordEdit", 1)->setEchoMode(QLineEdit::Password);
        Add<QCheckBox>("EncryptDeleteAfterCheckBox", 1);
        Add<QLabel>("ChooseFilesHeaderLabel", 2);
        Add<QLabel>("ChooseFilesDescLabel", 2);
        Add<QLabel>("ChangeMainPassLabel1", 2)->setVisible(false);
        Add<QLineEdit>("DecryptPasswordEdit", 3)->setEchoMode(QLineEdit::Password);
        Add<QCheckBox>("DecryptDeleteAfterCryptCheckBox", 3);
        auto* schemes = Add<QComboBox>("ShredAlgorithmComboBox", 4);
        for (int i = 0; i < int(ShredAlgorithmList.size()); ++i)
            schemes->addItem(QString::fromStdString(ShredAlgorithmBoxText(i)));
        Add<QListWidget>("HiddenFilesListBox", 5);
        Add<QLabel>("FinishInfoLabel", 7);
        Add<QLabel>("FilesLabel", 7);
        Add<QListWidget>("SkippedFilesListBox", 7)->setVisible(false);

        BackButton = Button("BackButton", "Back", layout);
        NextButton = Button("NextButton", "Next", layout);
        ExitButton = Button("ExitButton", "Exit", layout);
        FinishButton = Button("FinishButton", "Finish", layout);
        BackButton->setVisible(false);
        NextButton->setVisible(false);
        QObject::connect(NextButton, &QPushButton::clicked, this, [this] {
            if (PageIndex() == 2 && CheckedCount() < 1) {
                TMessageBox::Information(this, QString::fromStdString(LangConstant("Please_select_files")));
                return;
            }
            if (Driver) Driver->Next();
        });
        QObject::connect(BackButton, &QPushButton::clicked, this, [this] {
            if (Driver) Driver->Back();
        });
        QObject::connect(ExitButton, &QPushButton::clicked, this, [this] {
            if (ExitButton->text() == QString::fromStdString(LangConstant("Cancel"))) {
                if (Driver) Driver->CancelWizard();
            } else {
                close();
            }
        });
        QObject::connect(FinishButton, &QPushButton::clicked, this, [this] {
            ShowPage(0);
            ExitButton->setVisible(true);
        });
    }

    template <class T>
    T* Get(const char* name) const {
        return findChild<T*>(QString::fromLatin1(name));
    }

    // The files tree: each ticked path is a checked root; a folder is never expanded.
    void Tick(const std::string& path, bool isFile) { ticked.push_back({path, isFile}); }

    QWidget* Window() override { return this; }
    void ShowPage(int index) override {
        Notebook->setCurrentIndex(index);
        if (onShowPage) onShowPage(index);
    }
    int PageIndex() const override { return Notebook->currentIndex(); }
    void SetStepHint(const QString& hint) override { stepHint = hint; }
    void BuildDrivesTree() override {
        ++treeBuilds;
        ticked.clear();
    }
    void SetDecryptFilter(bool on) override { decryptFilter = on; }
    int CheckedCount() const override { return int(ticked.size()); }
    std::vector<TTreeNodeSnapshot> TreeSnapshot() const override {
        std::vector<TTreeNodeSnapshot> roots;
        for (const auto& [path, isFile] : ticked) {
            TTreeNodeSnapshot node{path, path, 1, isFile ? 8 : 7, {}};
            if (!isFile) node.children.push_back({kPlaceholderNodeText, path + "/" + kPlaceholderNodeText, 1, 0, {}});
            roots.push_back(node);
        }
        return roots;
    }
    bool CheckMainPassword() override {
        ++mainPasswordPrompts;
        if (mainPasswordAnswers.empty()) return true;
        const bool answer = mainPasswordAnswers.front();
        mainPasswordAnswers.pop_front();
        return answer;
    }
    bool AskOperationPassword(const QString& fileName, QString& password) override {
        askedFiles.push_back(fileName);
        QDialog dialog(this);
        dialog.setObjectName(QStringLiteral("OperationPassForm"));
        auto* edit = new QLineEdit(&dialog);
        edit->setObjectName(QStringLiteral("PasswordEdit"));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(edit);
        layout->addWidget(buttons);
        if (onPasswordDialog) onPasswordDialog(dialog);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        password = edit->text();
        return accepted;
    }

    TWizardDriver* Driver = nullptr;
    QStackedWidget* Notebook = nullptr;
    QWidget* Pages[8] = {};
    QPushButton *BackButton = nullptr, *NextButton = nullptr, *ExitButton = nullptr, *FinishButton = nullptr;
    QString stepHint;
    bool decryptFilter = false;
    int treeBuilds = 0;
    int mainPasswordPrompts = 0;
    std::deque<bool> mainPasswordAnswers;
    std::vector<QString> askedFiles;
    std::vector<std::pair<std::string, bool>> ticked;
    std::function<void(int)> onShowPage;
    // Called with the password dialog just before it runs (e.g. to queue its answer).
    std::function<void(QDialog&)> onPasswordDialog;
    int closes = 0;

protected:
    // As the main window does: a run is stopped and waited for before the window goes.
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        if (Driver) Driver->PrepareQuit();
        event->accept();
        QCoreApplication::quit();
    }

private:
    template <class T>
    T* Add(const char* name, int page) {
        auto* control = new T(Pages[page]);
        control->setObjectName(QString::fromLatin1(name));
        Pages[page]->layout()->addWidget(control);
        return control;
    }
    void Picture(const char* name, int page, Qt::GlobalColor colour) {
        QPixmap picture(8, 8);
        picture.fill(colour);
        Add<QLabel>(name, page)->setPixmap(colour == Qt::white ? QPixmap() : picture);
    }
    QPushButton* Button(const char* name, const char* text, QVBoxLayout* layout) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        layout->addWidget(button);
        return button;
    }
};

}  // namespace vantrel::test
