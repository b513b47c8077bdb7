#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vantrel {

// The settings and about window. Created once, kept for the whole run, shown without blocking
// the main window. Every showing reloads the check boxes from the settings file; OK stores
// them and starts the program itself with "/activate" or "/deactivate", which writes or
// removes the file managers' entries; Cancel stores nothing.
class TOptionsForm : public QDialog {
    Q_OBJECT

public:
    // The maker's web address behind Label1, and where Label8 ("Support") writes to.
    static constexpr const char* WebAddress = "https://www.halcorne.com/vantrel/";
    static constexpr const char* SupportAddress = "mailto:support@halcorne.com?subject=Vantrel%201.2";

    explicit TOptionsForm(QWidget* parent = nullptr);

    // "Change Main Password...": the lead wires it to the main-password dialogs.
    std::function<void()> OnChangeMainPassword;
    // Help button, F1 and "Product information": the main window's help file. Unset, the
    // program folder's Help/Help.html is opened.
    std::function<void()> OnShowHelp;
    // Starts a program without waiting (the program's own file with the switch); replaceable
    // for tests.
    std::function<void(const std::string& program, const std::vector<std::string>& arguments)> StartProgram;
    // Opens a web or mail address; replaceable for tests.
    std::function<void(const QUrl&)> OpenUrl;

    // The languages offered on the General page, by language ID and name; the choice is stored
    // as "LanguageID" on OK and takes effect at the next start.
    void SetLanguageChoices(std::vector<std::pair<int, QString>> idAndName, int currentId);

    void ShowGeneralPage();  // OptionsButton
    void ShowAboutPage();    // the main window's help button or context menu

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildGeneralPage();
    void BuildAboutPage();
    void SetOptionsToGUI();
    void GetOptionsFromGUI();
    void ApplyShellIntegration();
    void ok2Click();
    void CancelButtonClick();
    void HelpButtonClick();
    void ChooseMainPassButtonClick();
    void Label1Click();
    void Label6Click();
    void Label8Click();

    QTabWidget* PageControl = nullptr;
    QWidget* general = nullptr;
    QWidget* about = nullptr;
    QPushButton* ok2 = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* LanguageGroupBox = nullptr;
    QCheckBox* IntegrateCheckBox = nullptr;
    QCheckBox* CascadedCheckBox = nullptr;
    QPushButton* ChooseMainPassButton = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* LanguageComboBox = nullptr;
    QLabel* about_img = nullptr;
    QLabel* ProgramLabel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label8 = nullptr;
};

}  // namespace vantrel
