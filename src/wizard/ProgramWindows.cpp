#include "wizard/ProgramWindows.h"

#include "hide/HiddenConfig.h"
#include "i18n/LanguageManager.h"

namespace vantrel {

TProgramWindows::TProgramWindows() {
    QObject::connect(&mainForm, &TMainForm::OptionsRequested, &optionsForm, [this](bool aboutPage) {
        if (aboutPage) optionsForm.ShowAboutPage();
        else optionsForm.ShowGeneralPage();
    });
    // The current main password is asked for first, unless none is set.
    optionsForm.OnChangeMainPassword = [this] {
        if (!HiddenItemsStore->HasPassword() || mainForm.CheckMainPassword()) changeMainPassForm.exec();
    };
    optionsForm.OnShowHelp = [this] { mainForm.ShowHelpFile(); };
    optionsForm.SetLanguageChoices(LanguageChoices(),
                                   LanguageSetting());
    mainForm.SetWizardDriver(&wizards);
}

}  // namespace vantrel
