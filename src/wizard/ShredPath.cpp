#include "wizard/ShredPath.h"

#include <QComboBox>

#include "operations/Operations.h"
#include "shred/ShredAlgorithms.h"
#include "wizard/WizardController.h"

namespace vantrel {

const TOperationPathClass TShredPath::Class{"TShredPath", &TShredPath::GetCmdLineParameter,
                                            &TShredPath::ActivateOnCmdLine};

TShredPath::TShredPath(TWizardController& owner) : TOperationPath(owner) {
    Steps.push_back(std::make_unique<TShredChooseFiles>(*this));
    Steps.push_back(std::make_unique<TShredSettings>(*this));
    CopyPicture("ShredBackImage");
    SetStepHint("Shredding_files_step1");
    SetLabelText("ChooseFilesHeaderLabel", "Choose_files_to_shred");
    SetLabelText("ChooseFilesDescLabel", "Choose_files_to_shred_full");
}

void TShredPath::ActivateOnCmdLine(TWizardController& owner) {
    TShredPath* path = StartPath<TShredPath>(owner);
    path->Next();
    owner.LoadCommandLineFiles();
}

void TShredChooseFiles::Next() {
    Path.SetNextCaption("Shred");
    Path.SetStepHint("Shredding_files_step2");
    Path.ShowPage(4);
}

void TShredSettings::Back() {
    Path.SetNextCaption("Next_");
    Path.SetStepHint("Shredding_files_step1");
    Path.ShowPage(2);
}

// No confirmation is asked: the files were chosen two pages ago.
void TShredSettings::Next() {
    const auto* schemeBox = Path.Control<QComboBox>("ShredAlgorithmComboBox");
    const int position = schemeBox ? schemeBox->currentIndex() : -1;
    if (position < 0 || position >= int(ShredAlgorithmList.size()) || Path.Owner().IsRunActive()) return;
    auto operation = std::make_unique<TShred>();
    operation->Scheme = ShredAlgorithmList[std::size_t(position)].get();
    Path.Owner().StartRun(std::move(operation), TSelectionMode::FilesOnly);
}

}  // namespace vantrel
