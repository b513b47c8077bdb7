#include "wizard/OperationPathes.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "i18n/LangConstants.h"
#include "wizard/WizardController.h"
#include "wizard/WizardWindow.h"

namespace vantrel {

namespace {

std::vector<TOperationPathClass>* g_pathRegistry = nullptr;
TOperationPath* g_currentPath = nullptr;

}  // namespace

QString ConstantText(std::string_view name) { return QString::fromStdString(LangConstant(name)); }

TOperationPath::TOperationPath(TWizardController& owner) : owner_(owner) {
    EnterWizardMode();
    Window().BuildDrivesTree();  // no tick of an earlier wizard survives
    ShowPage(2);
}

TOperationPath::TOperationPath(TWizardController& owner, TOwnWindowSetup) : owner_(owner) {}

TOperationPath::~TOperationPath() {
    Steps.clear();
    if (auto* back = Control<QPushButton>("BackButton")) back->setVisible(false);
    if (auto* next = Control<QPushButton>("NextButton")) {
        next->setVisible(false);
        next->setText(ConstantText("Next_"));
    }
    if (auto* exit = Control<QPushButton>("ExitButton")) exit->setText(ConstantText("Exit"));
    ShowPage(0);
    Window().SetStepHint(QString());
    owner_.WizardEnded();
}

TWizardWindow& TOperationPath::Window() const { return owner_.Window(); }

QWidget* TOperationPath::MainWidget() const { return owner_.Window().Window(); }

void TOperationPath::Next() {
    const int count = int(Steps.size());
    if (CurrentStep < count) {
        QPointer<TOperationPath> self(this);
        Steps[std::size_t(CurrentStep)]->Next();
        if (!self) return;  // the step ended the wizard
    }
    if (CurrentStep < count - 1) ++CurrentStep;
}

void TOperationPath::Back() {
    if (CurrentStep >= 0 && CurrentStep < int(Steps.size())) {
        QPointer<TOperationPath> self(this);
        Steps[std::size_t(CurrentStep)]->Back();
        if (!self) return;
    }
    if (CurrentStep <= 0) {
        if (CurrentPath() == this)
            EndCurrentPath();
        else
            delete this;
        return;
    }
    --CurrentStep;
}

void TOperationPath::EnterWizardMode() {
    if (auto* next = Control<QPushButton>("NextButton")) next->setVisible(true);
    if (auto* back = Control<QPushButton>("BackButton")) back->setVisible(true);
    if (auto* exit = Control<QPushButton>("ExitButton")) exit->setText(ConstantText("Cancel"));
}

void TOperationPath::SetStepHint(std::string_view constant) { Window().SetStepHint(ConstantText(constant)); }

void TOperationPath::SetNextCaption(std::string_view constant) {
    if (auto* next = Control<QPushButton>("NextButton")) next->setText(ConstantText(constant));
}

void TOperationPath::SetLabelText(const char* label, std::string_view constant) {
    if (auto* l = Control<QLabel>(label)) l->setText(ConstantText(constant));
}

void TOperationPath::ShowPage(int index) { Window().ShowPage(index); }

void TOperationPath::CopyPicture(const char* imageControl) {
    const auto* source = Control<QLabel>(imageControl);
    const QPixmap picture = source ? source->pixmap() : QPixmap();
    for (const char* target : {"ChooseFileBackImage", "FinishBackImage"})
        if (auto* l = Control<QLabel>(target)) l->setPixmap(picture);
}

void CreatePathRegistry() {
    delete g_pathRegistry;
    g_pathRegistry = new std::vector<TOperationPathClass>;
}

void FreePathRegistry() {
    delete g_pathRegistry;
    g_pathRegistry = nullptr;
}

void RegisterPath(const TOperationPathClass& pathClass) {
    if (!g_pathRegistry) CreatePathRegistry();
    g_pathRegistry->push_back(pathClass);
}

const TOperationPathClass* FindPathByParameter(std::string_view text) {
    if (!g_pathRegistry) return nullptr;
    for (const auto& pathClass : *g_pathRegistry)
        if (pathClass.GetCmdLineParameter() == text) return &pathClass;
    return nullptr;
}

TOperationPath* CurrentPath() { return g_currentPath; }

void SetCurrentPath(std::unique_ptr<TOperationPath> path) {
    if (g_currentPath && g_currentPath != path.get()) EndCurrentPath();
    g_currentPath = path.release();
}

void AbandonCurrentPath() { g_currentPath = nullptr; }

void EndCurrentPath() {
    // Cleared first: the destructor's work may look at CurrentPath.
    TOperationPath* ending = g_currentPath;
    g_currentPath = nullptr;
    delete ending;
}

}  // namespace vantrel
