#pragma once

#include "ui/ChangeMainPassFormUnit.h"
#include "ui/LanguageController.h"
#include "ui/MainFormUnit.h"
#include "ui/MainPassFormUnit.h"
#include "ui/OperationPassFormUnit.h"
#include "ui/OptionsFormUnit.h"
#include "wizard/WizardController.h"

namespace vantrel {

// The program's windows, created once in this order after StartUp and wired together; all but
// the main window stay hidden until needed. The dialogs belong to the main window, so they
// centre on it and go with it. They go in the reverse order: the wizard layer before the main
// window it drives.
struct TProgramWindows {
    TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TMainForm mainForm;
    // The main window is translated while it loads, before the dialogs join it; the window
    // owns its controller.
    TLanguageController* languageController = new TLanguageController(&mainForm);
    TChangeMainPassForm changeMainPassForm{&mainForm};
    TOperationPassForm operationPassForm{&mainForm};
    TOptionsForm optionsForm{&mainForm};
    // The wizard layer, with the progress window and the path registry of the wizard kinds.
    TWizardController wizards{mainForm};
    TMainPassForm mainPassForm{&mainForm};
};

}  // namespace vantrel
