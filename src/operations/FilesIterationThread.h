#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/SecureMemory.h"
#include "operations/OperationHost.h"

namespace vantrel {

class TOperation;
class TFilesIterationThread;

// How ticked folders and drives are taken: FilesOnly lists the files inside them at any
// depth (encrypt, decrypt, shred); WholeItems takes each as one entry (hide).
enum class TSelectionMode { FilesOnly, WholeItems };

// A node of the files tree as the worker sees it: a copy taken on the GUI thread when the
// run starts, so the tree may change while the run goes on.
struct TTreeNodeSnapshot {
    std::string text;
    std::string path;        // the node's full path (GetNodePath)
    int state = 3;           // 1 checked, 2 partly checked, anything else not selected
    int imageIndex = 0;      // 8 or more marks a file
    std::vector<TTreeNodeSnapshot> children;
};
inline constexpr const char* kPlaceholderNodeText = "scaner_dummy";

// Progress of a run as one consistent copy.
struct TProgressSnapshot {
    double elapsedSeconds = 0;
    double remainingSeconds = 0;
    std::string currentFile;
    int currentIndex = 0;
    int fileCount = 0;
    std::int64_t doneBytes = 0;
    std::int64_t totalBytes = 1;
    std::int64_t currentFileDone = 0;
    std::int64_t currentFileTotal = 1;
};

// How a run ended. Finished: every listed file had its turn (some may have been skipped);
// Cancelled: the cancel stopped a file part-way or left files without their turn; Failed: an
// error ended the run.
enum class TRunOutcome { Running, Finished, Cancelled, Failed };

// A listed file that the operation left as it was, and why: a sentence for the user.
struct TSkippedFile {
    std::string path;
    std::string reason;
};

// One run of an operation over a selection, on a thread of its own: collect the paths, add
// up their sizes, call the operation for each, then have the host finish.
class TFilesIterationThread : public std::enable_shared_from_this<TFilesIterationThread> {
public:
    TFilesIterationThread(std::unique_ptr<TOperation> operation, TSelectionMode mode,
                          std::vector<std::string> cmdLineFiles, std::vector<TTreeNodeSnapshot> roots,
                          IOperationHost& host);
    ~TFilesIterationThread();

    void Start();
    void Wait();
    void Cancel() { stop_.store(true); }
    void Release();

    // The operation's callbacks.
    bool IsCancelled() const { return stop_.load(); }
    void ReportProgress(std::int64_t done, std::int64_t total, std::int64_t processed, double seconds);
    bool QueryPassword(const std::string& fileName, ByteString& password);

    TProgressSnapshot Progress() const;
    TRunOutcome Outcome() const { return outcome_.load(); }
    // After a Failed run: what went wrong, naming the file it happened to.
    const std::string& ErrorMessage() const { return error_; }
    // Files the operation completed, and files it left alone with the reason; both may be
    // read at any time and are final once the run has ended.
    int DoneCount() const;
    std::vector<TSkippedFile> SkippedFiles() const;
    // The list of the run; complete once the collection is over.
    const std::vector<std::string>& Files() const { return Files_; }
    TOperation& Operation() { return *Operation_; }

    // The phases, public for tests that run them on their own thread.
    void Execute();
    void Collect();

private:
    void CollectNode(const TTreeNodeSnapshot& node);
    void CollectFolderFiles(std::string dir);
    void Append(std::string path);
    void ProcessEntry(const std::string& path);
    void SkipEntry(const std::string& path, std::string reason);
    void EndRun(TRunOutcome outcome);
    double Elapsed() const;

    std::unique_ptr<TOperation> Operation_;
    TSelectionMode Mode_;
    std::vector<std::string> cmdLineFiles_;
    std::vector<TTreeNodeSnapshot> roots_;
    IOperationHost& host_;

    std::vector<std::string> Files_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> released_{false};
    std::atomic<TRunOutcome> outcome_{TRunOutcome::Running};
    std::string error_;
    std::thread thread_;

    mutable std::mutex progressLock_;
    TProgressSnapshot progress_;
    int doneCount_ = 0;                      // under progressLock_
    std::vector<TSkippedFile> skippedFiles_;  // under progressLock_
    std::chrono::steady_clock::time_point StartTime;
};

// The worker of the latest run, or none. Only one run at a time: StartOperation refuses
// (returns nullptr) while one is active.
std::shared_ptr<TFilesIterationThread> StartOperation(std::unique_ptr<TOperation> operation, TSelectionMode mode,
                                                      IOperationHost& host,
                                                      std::vector<std::string> cmdLineFiles = {},
                                                      std::vector<TTreeNodeSnapshot> roots = {});
void CancelOperation();
std::shared_ptr<TFilesIterationThread> CurrentWorker();
bool IsOperationRunning();
// Stops the current run and waits for its thread (shutdown).
void StopCurrentOperation();

}  // namespace vantrel
