#include "wizard/HidePath.h"

#include <QLabel>

#include "operations/Operations.h"
#include "wizard/WizardController.h"
#include "wizard/WizardWindow.h"

namespace vantrel {

bool HideRefused = false;

const TOperationPathClass THidePath::Class{"THidePath", &THidePath::GetCmdLineParameter,
                                           &THidePath::ActivateOnCmdLine};

bool THidePath::Admit(TWizardController& owner) {
    HideRefused = !owner.Window().CheckMainPassword();
    return !HideRefused;
}

THidePath::THidePath(TWizardController& owner) : TOperationPath(owner, TOwnWindowSetup{}) {
    EnterWizardMode();
    SetNextCaption("Hide");
    SetStepHint("Hiding_files_step1");
    Window().BuildDrivesTree();
    CopyPicture("HideBackImage");
    ShowPage(2);
    if (auto* link = Control<QLabel>("ChangeMainPassLabel1")) link->setVisible(true);
    SetLabelText("ChooseFilesHeaderLabel", "Choose_file_to_hide");
    SetLabelText("ChooseFilesDescLabel", "Choose_file_to_hide_full");
    Steps.push_back(std::make_unique<THideChooseFiles>(*this));
}

THidePath::~THidePath() {
    if (auto* link = Control<QLabel>("ChangeMainPassLabel1")) link->setVisible(false);
}

// Nothing is asked after the main password: hiding starts at once.
void THidePath::ActivateOnCmdLine(TWizardController& owner) {
    if (!StartPath<THidePath>(owner)) return;
    owner.LoadCommandLineFiles();
    owner.StartRun(std::make_unique<THide>(), TSelectionMode::WholeItems);
}

void THideChooseFiles::Next() { Path.Owner().StartRun(std::make_unique<THide>(), TSelectionMode::WholeItems); }

}  // namespace vantrel
