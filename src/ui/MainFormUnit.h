#pragma once

#include <QWidget>

#include "wizard/WizardWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace vantrel {

class TChangeMainPassForm;
class TFilesTreeView;
class TMainPassForm;
class TOperationPassForm;
class TOperationsListBox;

// The program's main window, created once after StartUp and kept for the whole run: a
// notebook of eight pages addressed by index, the command buttons below it and a status
// line. The wizards drive it through TWizardWindow and reach its controls by their names.
// Closing it ends the event loop.
class TMainForm : public QWidget, public TWizardWindow {
    Q_OBJECT

public:
    // The default client size; the window grows where its texts need more room.
    static constexpr int ClientWidth = 698;
    static constexpr int ClientHeight = 475;

    enum TPage { PageMain, PageEncrypt, PageChooseFiles, PageDecrypt, PageShred, PageHiddenList, PagePictures, PageFinish };

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    void SetWizardDriver(TWizardDriver* driver) { driver_ = driver; }

    // TWizardWindow
    QWidget* Window() override { return this; }
    void ShowPage(int index) override;
    int PageIndex() const override;
    void SetStepHint(const QString& hint) override;
    void BuildDrivesTree() override;
    void SetDecryptFilter(bool on) override;
    int CheckedCount() const override;
    std::vector<TTreeNodeSnapshot> TreeSnapshot() const override;
    bool CheckMainPassword() override;
    bool AskOperationPassword(const QString& fileName, QString& password) override;

    TFilesTreeView* FilesTree() const { return FilesTreeView; }
    // What the status line shows now.
    QString StatusText() const;
    // Resizes the window to fit its texts, never below the default client size.
    void FitWindowToContents();
    void ShowHelpFile();

signals:
    // The options dialog is wanted, on its "About" page or its first one.
    void OptionsRequested(bool aboutPage);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* NewPage(const QString& pictureName, QVBoxLayout*& content);
    void CreateMainPage();
    void CreateEncryptPage();
    void CreateChooseFilesPage();
    void CreateDecryptPage();
    void CreateShredPage();
    void CreateHiddenListPage();
    void CreatePicturePage();
    void CreateFinishPage();
    void CreateButtonPanel();
    QPushButton* NewPanelButton(const QString& name, const QString& caption, const QString& hint, const QString& picture);
    QLabel* NewChangePassLink(const QString& name, const QString& text, QWidget* parent);
    void FormCreate();
    void LoadPictures();
    void FillSettingsControls();

    void FormActivate();
    void OperationsListBoxClick(int position);
    void NextButtonClick();
    void BackButtonClick();
    void ExitButtonClick();
    void FinishButtonClick();
    void ChangeMainPassLabel1Click();
    void EncryptAlgorithmComboBoxChange(int index);
    void ShredAlgorithmComboBoxChange(int index);
    void UpdateStatusText();

    TMainPassForm& MainPassDialog();
    TChangeMainPassForm& ChangeMainPassDialog();
    TOperationPassForm& OperationPassDialog();

    TWizardDriver* driver_ = nullptr;
    QStackedWidget* Notebook = nullptr;
    TOperationsListBox* OperationsListBox = nullptr;
    TFilesTreeView* FilesTreeView = nullptr;
    QComboBox* EncryptAlgorithmComboBox = nullptr;
    QComboBox* ShredAlgorithmComboBox = nullptr;
    QLabel* AlgorithmChooseLabel = nullptr;
    QLabel* ShredAlgorithmDecsLabel = nullptr;
    QLineEdit* EncryptPasswordEdit = nullptr;
    QLineEdit* DecryptPasswordEdit = nullptr;
    QListWidget* SkippedFilesListBox = nullptr;
    QObject* PasswordOpenDialog = nullptr;
    QWidget* ButtonPanel = nullptr;
    QPushButton* OptionsButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* ExitButton = nullptr;
    QPushButton* FinishButton = nullptr;
    QLabel* StatusBar = nullptr;

    QString appHint_;     // the status tip of the control under the pointer
    QString windowHint_;  // the current wizard step
    bool activatedOnce_ = false;
    bool closing_ = false;
    bool fitting_ = false;
    bool startPending_ = false;
    QStringList pictureErrors_;
};

}  // namespace vantrel
