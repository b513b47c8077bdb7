#include "wizard/WizardController.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <chrono>
#include <exception>
#include <thread>

#include "app/CmdLineActivate.h"
#include "i18n/LangConstants.h"
#include "i18n/MessageFormat.h"
#include "operations/Operations.h"
#include "ui/MessageBox.h"
#include "wizard/DecryptPath.h"
#include "wizard/EncryptPath.h"
#include "wizard/GuiOperationHost.h"
#include "wizard/HidePath.h"
#include "wizard/OperationPathes.h"
#include "wizard/ProgressDlgUnit.h"
#include "wizard/ShowPath.h"
#include "wizard/ShredPath.h"

namespace vantrel {

namespace {

// Closes the modal dialogs open above the event loop with Cancel, topmost first.
void RejectModalDialogs() {
    QWidget* last = nullptr;
    for (int i = 0; i < 16; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog || dialog == last) return;
        dialog->reject();
        last = dialog;
    }
}

}  // namespace

TWizardController::TWizardController(TWizardWindow& window)
    : window_(window), windowWidget_(window.Window()), host_(std::make_unique<TGuiOperationHost>(*this)) {
    progress_ = new TProgressForm(window_.Window());
    runWatch_.setInterval(RunWatchMilliseconds);
    connect(&runWatch_, &QTimer::timeout, this, &TWizardController::WatchRun);

    // The wizard kinds the command line can start, in this order; the show wizard is not one.
    CreatePathRegistry();
    RegisterPath(TEncryptPath::Class);
    RegisterPath(TDecryptPath::Class);
    RegisterPath(TShredPath::Class);
    RegisterPath(THidePath::Class);
}

TWizardController::~TWizardController() {
    PrepareQuit();
    FreePathRegistry();
    // A wizard still current ends with the controller, unless its window went first.
    if (windowWidget_)
        EndCurrentPath();
    else
        AbandonCurrentPath();
    delete progress_.data();
}

IOperationHost& TWizardController::Host() const { return *host_; }

void TWizardController::StartWizard(int position) {
    if (IsRunActive() || quitting_) return;  // one run at a time: no second wizard meanwhile
    switch (position) {
        case 0: StartPath<TEncryptPath>(*this); break;
        case 1: StartPath<TDecryptPath>(*this); break;
        case 2: StartPath<TShredPath>(*this); break;
        case 3: StartPath<THidePath>(*this); break;
        case 4: StartPath<TShowPath>(*this); break;
        default: break;
    }
}

void TWizardController::Next() {
    if (IsRunActive()) return;
    if (TOperationPath* path = CurrentPath()) path->Next();
}

void TWizardController::Back() {
    if (TOperationPath* path = CurrentPath()) path->Back();
}

void TWizardController::CancelWizard() { EndCurrentPath(); }

void TWizardController::ActivateFromCommandLine() {
    for (const std::string& argument : ProgramArguments()) {
        const TOperationPathClass* pathClass = FindPathByParameter(argument);
        if (!pathClass) continue;
        try {
            pathClass->ActivateOnCmdLine(*this);
        } catch (const std::exception& e) {
            // The list file could not be read: the wizard stays where it stands, and no later
            // switch is looked at.
            TMessageBox::Error(window_.Window(), QString::fromStdString(e.what()));
            return;
        }
        // A refused main password started nothing; the program goes on as if opened plainly,
        // and a later run shows its finish page.
        if (CurrentPath()) SetActivatedFromCommandLine();
    }
}

bool TWizardController::IsRunActive() const { return run_ != nullptr || IsOperationRunning(); }

bool TWizardController::StartRun(std::unique_ptr<TOperation> operation, TSelectionMode mode) {
    if (quitting_ || IsRunActive()) return false;
    auto worker = StartOperation(std::move(operation), mode, *host_, CmdLineFiles(), window_.TreeSnapshot());
    if (!worker) return false;
    run_ = std::move(worker);
    EnableRunStarters(false);
    progress_->show();
    progress_->raise();
    return true;
}

void TWizardController::FinishRun(TFilesIterationThread& worker) {
    EndCurrentPath();
    if (IsActivatedFromCommandLine()) {
        // The command line's run is over: the program ends instead of showing the finish page.
        host_->Abandon();
        QCoreApplication::quit();
        return;
    }
    const TOperation& operation = worker.Operation();
    ShowFinishPage(QString::fromStdString(operation.GetCompletedText()), worker.DoneCount(),
                   QString::fromStdString(operation.GetDoneVerb()), worker.SkippedFiles());
}

void TWizardController::ShowFinishPage(const QString& completedText, int doneCount, const QString& doneVerb,
                                       const std::vector<TSkippedFile>& skipped) {
    QWidget* main = window_.Window();
    window_.ShowPage(7);
    if (auto* info = main->findChild<QLabel*>(QStringLiteral("FinishInfoLabel"))) info->setText(completedText);
    if (auto* files = main->findChild<QLabel*>(QStringLiteral("FilesLabel"))) {
        const std::string format = LangConstant(doneCount >= 2 ? "Files_were" : "File_was");
        files->setText(QString::fromStdString(
            FormatMessageText(format, {std::to_string(doneCount), doneVerb.toStdString()})));
    }
    if (auto* list = main->findChild<QListWidget*>(QStringLiteral("SkippedFilesListBox"))) {
        list->clear();
        for (const auto& entry : skipped) {
            // The reason is a sentence that names the file already.
            auto* row = new QListWidgetItem(QString::fromStdString(entry.reason), list);
            row->setToolTip(QString::fromStdString(entry.path));
        }
        list->setVisible(!skipped.empty());
    }
    if (auto* exit = main->findChild<QPushButton*>(QStringLiteral("ExitButton"))) exit->setVisible(false);
    main->activateWindow();
    main->setFocus();
}

// Comes once per run, on cancel or at its end; from here the run's end is near, and the
// controller looks for it (nothing polls while the run goes).
void TWizardController::ReleaseRun() {
    if (progress_) progress_->hide();
    if (run_ && !runWatch_.isActive()) runWatch_.start();
}

void TWizardController::ShowWorkerMessage(const QString& text) { TMessageBox::Information(window_.Window(), text); }

void TWizardController::WizardEnded() { ClearCmdLineFiles(); }

void TWizardController::LoadCommandLineFiles() { vantrel::LoadCommandLineFiles(); }

// The worker's last word is the release; its outcome is stored just after.
void TWizardController::WatchRun() {
    if (run_ && run_->Outcome() != TRunOutcome::Running) RunEnded(run_);
}

void TWizardController::RunEnded(const std::shared_ptr<TFilesIterationThread>& worker) {
    runWatch_.stop();
    auto ended = worker;  // run_ is cleared below
    run_.reset();
    ended->Wait();  // past its last call into this thread
    if (progress_) progress_->hide();
    EnableRunStarters(true);
    if (ended->Outcome() == TRunOutcome::Failed && !quitting_)
        TMessageBox::Error(window_.Window(), QString::fromStdString(ended->ErrorMessage()));  // it names the file
}

// While a run goes, nothing that could start another is usable: the last step's button and the
// operation list.
// Disabling the step's button passes the keyboard focus on, to Cancel, where Return would end the
// wizard; a run that leaves the wizard on its step gives the focus back.
void TWizardController::EnableRunStarters(bool enabled) {
    auto* next = window_.Window()->findChild<QWidget*>(QStringLiteral("NextButton"));
    if (!enabled) stepButtonHadFocus_ = next && next->hasFocus();
    for (const char* name : {"NextButton", "OperationsListBox"})
        if (auto* control = window_.Window()->findChild<QWidget*>(QString::fromLatin1(name))) control->setEnabled(enabled);
    if (enabled && stepButtonHadFocus_ && next && next->isVisible()) next->setFocus(Qt::OtherFocusReason);
}

void TWizardController::PrepareQuit() {
    quitting_ = true;
    host_->Abandon();  // from here on the worker never waits for this thread
    if (auto worker = CurrentWorker()) worker->Cancel();
    ReleaseRun();
    if (host_->InWorkerCall()) {
        // A worker's dialog is open below on this thread's stack: it can only return once this
        // event has returned. Cancel it; the worker then ends on its own, and whoever waits
        // later (PrepareQuit again, or ShutDown) finds it ending without calling back.
        RejectModalDialogs();
        return;
    }
    WaitForWorker();
}

void TWizardController::WaitForWorker() {
    runWatch_.stop();
    run_.reset();
    auto worker = CurrentWorker();
    if (!worker) return;
    worker->Cancel();
    // A call the worker posted before it was abandoned is answered here, so it cannot block.
    while (worker->Outcome() == TRunOutcome::Running) {
        host_->PumpPendingCalls();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    worker->Wait();
}

}  // namespace vantrel
