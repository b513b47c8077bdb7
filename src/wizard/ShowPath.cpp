#include "wizard/ShowPath.h"

#include <QListWidget>

#include <exception>

#include "hide/HiddenConfig.h"
#include "operations/Operations.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"
#include "wizard/WizardWindow.h"

namespace vantrel {

bool TShowPath::Admit(TWizardController& owner) { return owner.Window().CheckMainPassword(); }

TShowPath::TShowPath(TWizardController& owner) : TOperationPath(owner, TOwnWindowSetup{}) {
    EnterWizardMode();
    SetNextCaption("Show");
    SetStepHint("Showing_files_step1");
    CopyPicture("ShowBackImage");
    ShowPage(5);
    FillHiddenFilesList(*this);
    Steps.push_back(std::make_unique<TShowListOfHidden>(*this));
}

void FillHiddenFilesList(TOperationPath& path) {
    auto* list = path.Control<QListWidget>("HiddenFilesListBox");
    if (!list) return;
    list->clear();
    for (const auto& item : HiddenItemsStore->Items()) {
        auto* row = new QListWidgetItem(QString::fromStdString(item.FilePath), list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
    }
}

// From the last row to the first: showing an item removes it from the store, and the rows
// still to be visited keep their store positions.
void TShowListOfHidden::Next() {
    auto* list = Path.Control<QListWidget>("HiddenFilesListBox");
    if (!list) return;
    TShow show;
    int shown = 0;
    for (int row = list->count() - 1; row >= 0; --row) {
        if (list->item(row)->checkState() != Qt::Checked) continue;
        const std::string itemPath = HiddenItemsStore->Item(std::size_t(row)).FilePath;
        try {
            show.ItemIndex = row;
            show.ProcessFile(itemPath);
        } catch (const std::exception& e) {
            // The rows below were shown and left the store; the list follows the store again.
            TMessageBox::Error(Path.Window().Window(), QString::fromStdString(itemPath + ": " + e.what()));
            FillHiddenFilesList(Path);
            return;
        }
        ++shown;
    }
    TWizardController& owner = Path.Owner();  // the wizard and this step end next
    const QString completed = QString::fromStdString(show.GetCompletedText());
    const QString verb = QString::fromStdString(show.GetDoneVerb());
    EndCurrentPath();
    owner.ShowFinishPage(completed, shown, verb, {});
}

}  // namespace vantrel
