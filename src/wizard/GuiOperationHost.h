#pragma once

#include <QObject>

#include <atomic>

#include "operations/FilesIterationThread.h"

namespace vantrel {

class TWizardController;

// The worker's host in the desktop program. The password dialog, the worker's messages and
// the finish page run on the GUI thread while the worker waits (a blocking queued call);
// closing the progress window is only posted, since nothing waits for it.
//
// Quitting: once Abandon() was called, every call from the worker returns at once without
// reaching the GUI thread (a password is refused, a message dropped), so the GUI thread may
// wait for the worker. A call the worker posted just before is answered by PumpPendingCalls,
// which whoever waits must run while waiting.
class TGuiOperationHost : public QObject, public IOperationHost {
    Q_OBJECT

public:
    explicit TGuiOperationHost(TWizardController& owner);

    bool AskPassword(const std::string& promptFileName, ByteString& password) override;
    void ShowMessage(const std::string& text) override;
    void Finish(TFilesIterationThread& worker) override;
    void Release() override;

    void Abandon() { abandoned_.store(true); }
    bool Abandoned() const { return abandoned_.load(); }
    // Runs the calls the worker has posted and is waiting for (GUI thread).
    void PumpPendingCalls();
    // True while the GUI thread is inside one of the worker's calls (a nested event loop of
    // the password dialog or a message box may be on the stack below).
    bool InWorkerCall() const { return callDepth_ > 0; }

private:
    // Runs fn on the GUI thread and waits for it; on the GUI thread itself, directly.
    template <class Fn>
    void RunOnGuiThread(Fn&& fn);

    TWizardController& owner_;
    std::atomic<bool> abandoned_{false};
    int callDepth_ = 0;  // GUI thread only
};

}  // namespace vantrel
