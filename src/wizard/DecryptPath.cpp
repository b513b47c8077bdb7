#include "wizard/DecryptPath.h"

#include <QCheckBox>
#include <QLineEdit>

#include "encryption/CryptoAlgorithms.h"
#include "operations/Operations.h"
#include "platform/CodePage.h"
#include "wizard/WizardController.h"

namespace vantrel {

const TOperationPathClass TDecryptPath::Class{"TDecryptPath", &TDecryptPath::GetCmdLineParameter,
                                              &TDecryptPath::ActivateOnCmdLine};

TDecryptPath::TDecryptPath(TWizardController& owner) : TOperationPath(owner) {
    Steps.push_back(std::make_unique<TDecryptChooseFiles>(*this));
    Steps.push_back(std::make_unique<TDecryptSettings>(*this));
    CopyPicture("DecryptBackImage");
    // Set before the user can expand anything: folders then list only encrypted files.
    Window().SetDecryptFilter(true);
    SetStepHint("Decrypting_files_step1");
    SetLabelText("ChooseFilesHeaderLabel", "Choose_file_to_decrypt");
    SetLabelText("ChooseFilesDescLabel", "Choose_file_to_decrypt_full");
}

// However the wizard ends, the tree lists every file again afterwards.
TDecryptPath::~TDecryptPath() { Window().SetDecryptFilter(false); }

void TDecryptPath::ActivateOnCmdLine(TWizardController& owner) {
    TDecryptPath* path = StartPath<TDecryptPath>(owner);
    path->Next();
    owner.LoadCommandLineFiles();
}

void TDecryptChooseFiles::Next() {
    Path.SetNextCaption("Decrypt");
    Path.SetStepHint("Decrypting_files_step2");
    Path.ShowPage(3);
}

void TDecryptChooseFiles::Back() { Path.Window().SetDecryptFilter(false); }

void TDecryptSettings::Back() {
    Path.SetNextCaption("Next_");
    Path.SetStepHint("Decrypting_files_step1");
    Path.ShowPage(2);
}

// No check of the password: one that does not open a file brings up the password dialog.
void TDecryptSettings::Next() {
    if (Path.Owner().IsRunActive()) return;
    auto operation = std::make_unique<TDecrypt>();
    const auto* password = Path.Control<QLineEdit>("DecryptPasswordEdit");
    operation->PasswordBytes = Utf8ToAnsi(password ? password->text().toStdString() : std::string());
    const auto* deleteAfter = Path.Control<QCheckBox>("DecryptDeleteAfterCryptCheckBox");
    operation->DeleteSource = deleteAfter && deleteAfter->isChecked();
    Path.Window().SetDecryptFilter(false);
    SetProgressPassCount(1);
    Path.Owner().StartRun(std::move(operation), TSelectionMode::FilesOnly);
}

}  // namespace vantrel
