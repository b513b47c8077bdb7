#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "operations/FilesIterationThread.h"

namespace vantrel::cli {

// The worker's host on a terminal: messages on stderr, the password dialog as a prompt
// without echo (only when asking is allowed), a progress line redrawn ten times a second
// while stderr is a terminal, and Ctrl-C as the progress window's Cancel button.
class TTerminalHost : public IOperationHost {
public:
    explicit TTerminalHost(bool mayAskPasswords) : mayAsk_(mayAskPasswords) {}

    bool AskPassword(const std::string& promptFileName, ByteString& password) override;
    void ShowMessage(const std::string& text) override;
    void Finish(TFilesIterationThread& worker) override;
    void Release() override {}

    // Runs the worker to its end, drawing progress and passing Ctrl-C on. Returns the exit
    // status: 0 when every file was done, 1 when any was skipped or the run did not finish.
    int Run(const std::shared_ptr<TFilesIterationThread>& worker);

private:
    void DrawProgress(const TProgressSnapshot& p, bool final);
    bool ReportSkipped(const TFilesIterationThread& worker);

    bool mayAsk_;
    std::set<std::string> shown_;  // messages shown during the run, under out_
    bool drewProgress_ = false;
    std::mutex out_;  // the worker and the progress line share stderr
};

// Installs the Ctrl-C handler that asks the current run to stop.
void InstallInterruptHandler();

}  // namespace vantrel::cli
