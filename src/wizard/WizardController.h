#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "operations/FilesIterationThread.h"
#include "wizard/ProgressDlgUnit.h"
#include "wizard/WizardWindow.h"

namespace vantrel {

class TGuiOperationHost;
class TOperation;

// The wizard layer of the main window: starts the wizards, runs the operations they start on
// a worker with the progress window beside, shows how each run ended, and stops a run when the
// program quits. Create it right after the main window and destroy it before the window (it
// registers the command-line wizard kinds while it lives).
class TWizardController : public QObject, public TWizardDriver {
    Q_OBJECT

public:
    explicit TWizardController(TWizardWindow& window);
    ~TWizardController() override;

    // TWizardDriver
    void StartWizard(int position) override;
    void Next() override;
    void Back() override;
    void CancelWizard() override;
    void ActivateFromCommandLine() override;
    bool IsRunActive() const override;
    void PrepareQuit() override;

    TWizardWindow& Window() const { return window_; }
    TProgressForm& ProgressForm() const { return *progress_; }
    IOperationHost& Host() const;

    // The last steps: start the operation on a worker over the ticked nodes (and the paths of
    // the command line), then show the progress window. False when it could not start: a run
    // is still active, or the program is quitting.
    bool StartRun(std::unique_ptr<TOperation> operation, TSelectionMode mode);
    // Page 7 with the completion text, the count of the files done and those left alone.
    void ShowFinishPage(const QString& completedText, int doneCount, const QString& doneVerb,
                        const std::vector<TSkippedFile>& skipped);

    // What the worker has the GUI thread do (through the host).
    void FinishRun(TFilesIterationThread& worker);
    void ReleaseRun();
    void ShowWorkerMessage(const QString& text);

    // A wizard ended: the paths the command line handed over belonged to it.
    void WizardEnded();
    // The list file's paths join the selection of the wizard being started.
    void LoadCommandLineFiles();

private:
    void WatchRun();
    void RunEnded(const std::shared_ptr<TFilesIterationThread>& worker);
    void WaitForWorker();
    void EnableRunStarters(bool enabled);

    TWizardWindow& window_;
    QPointer<QWidget> windowWidget_;  // null once the main window is gone
    std::unique_ptr<TGuiOperationHost> host_;
    QPointer<TProgressForm> progress_;
    QTimer runWatch_;
    std::shared_ptr<TFilesIterationThread> run_;
    bool quitting_ = false;
    bool stepButtonHadFocus_ = false;  // the last step's button, when the run started
};

// How long the controller looks again whether a run has ended, in milliseconds.
inline constexpr int RunWatchMilliseconds = 25;

}  // namespace vantrel
