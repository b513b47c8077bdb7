#include "wizard/EncryptPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "encryption/CryptoAlgorithms.h"
#include "operations/Operations.h"
#include "platform/CodePage.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"

namespace vantrel {

const TOperationPathClass TEncryptPath::Class{"TEncryptPath", &TEncryptPath::GetCmdLineParameter,
                                              &TEncryptPath::ActivateOnCmdLine};

TEncryptPath::TEncryptPath(TWizardController& owner) : TOperationPath(owner) {
    Steps.push_back(std::make_unique<TEncryptChooseFiles>(*this));
    Steps.push_back(std::make_unique<TEncryptSettings>(*this));
    CopyPicture("EncryptBackImage");
    SetStepHint("Encrypting_files_step1");
    SetLabelText("ChooseFilesHeaderLabel", "Choose_files_to_encrypt");
    SetLabelText("ChooseFilesDescLabel", "Choose_files_to_encrypt_full");
}

void TEncryptPath::ActivateOnCmdLine(TWizardController& owner) {
    TEncryptPath* path = StartPath<TEncryptPath>(owner);
    path->Next();
    if (auto* back = path->Control<QPushButton>("BackButton")) back->setVisible(false);
    owner.LoadCommandLineFiles();
}

void TEncryptChooseFiles::Next() {
    Path.SetNextCaption("Encrypt");
    Path.SetStepHint("Encrypting_files_step2");
    Path.ShowPage(1);
    // Ticked each time the page is entered: deleting the sources is the default.
    if (auto* deleteAfter = Path.Control<QCheckBox>("EncryptDeleteAfterCheckBox")) deleteAfter->setChecked(true);
}

void TEncryptSettings::Back() {
    Path.SetNextCaption("Next_");
    Path.SetStepHint("Encrypting_files_step1");
    Path.ShowPage(2);
}

void TEncryptSettings::Next() {
    auto* password = Path.Control<QLineEdit>("EncryptPasswordEdit");
    if (!password || password->text().isEmpty()) {
        TMessageBox::Information(Path.Window().Window(), ConstantText("Enter_password_first"));
        if (password) password->setFocus();
        return;
    }
    const auto* algorithmBox = Path.Control<QComboBox>("EncryptAlgorithmComboBox");
    const int position = algorithmBox ? algorithmBox->currentIndex() : -1;
    if (position < 0 || position >= AlgorithmCount() || Path.Owner().IsRunActive()) return;

    auto operation = std::make_unique<TEncrypt>();
    operation->CryptoAlgorithm = &AlgorithmAt(position);
    // Every pass of the all-at-once entry reports the whole file again.
    const bool allAtOnce = dynamic_cast<TAllAtOnceAlgorithm*>(operation->CryptoAlgorithm) != nullptr;
    SetProgressPassCount(allAtOnce ? AlgorithmCount() - 1 : 1);
    operation->PasswordBytes = Utf8ToAnsi(password->text().toStdString());
    const auto* deleteAfter = Path.Control<QCheckBox>("EncryptDeleteAfterCheckBox");
    operation->DeleteSource = deleteAfter && deleteAfter->isChecked();
    Path.Owner().StartRun(std::move(operation), TSelectionMode::FilesOnly);
}

}  // namespace vantrel
