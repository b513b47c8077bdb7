#include "operations/FilesIterationThread.h"

#include <cmath>

#include "operations/Operations.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vantrel {

namespace {

std::mutex g_workerLock;
std::shared_ptr<TFilesIterationThread> g_currentWorker;

}  // namespace

TFilesIterationThread::TFilesIterationThread(std::unique_ptr<TOperation> operation, TSelectionMode mode,
                                             std::vector<std::string> cmdLineFiles,
                                             std::vector<TTreeNodeSnapshot> roots, IOperationHost& host)
    : Operation_(std::move(operation)),
      Mode_(mode),
      cmdLineFiles_(std::move(cmdLineFiles)),
      roots_(std::move(roots)),
      host_(host) {
    Operation_->OnCancelQuery = [this] { return IsCancelled(); };
    Operation_->OnProgress = [this](std::int64_t d, std::int64_t t, std::int64_t p, double s) {
        ReportProgress(d, t, p, s);
    };
    Operation_->OnPasswordQuery = [this](const std::string& f, ByteString& pw) { return QueryPassword(f, pw); };
    Operation_->Host = &host_;
}

TFilesIterationThread::~TFilesIterationThread() {
    if (thread_.joinable()) {
        stop_.store(true);
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach();
        else
            thread_.join();
    }
}

void TFilesIterationThread::Start() {
    // The thread holds the worker alive until Execute has returned.
    thread_ = std::thread([self = shared_from_this()] { self->Execute(); });
}

void TFilesIterationThread::Wait() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TFilesIterationThread::Release() {
    if (!released_.exchange(true)) host_.Release();
}

void TFilesIterationThread::Execute() {
    try {
        Collect();
        {
            std::lock_guard lock(progressLock_);
            StartTime = std::chrono::steady_clock::now();
        }
        // A cancel during the collection leaves the list incomplete: nothing is done with it.
        if (IsCancelled()) return EndRun(TRunOutcome::Cancelled);
        for (std::size_t i = 0; i < Files_.size(); ++i) {
            if (IsCancelled()) return EndRun(TRunOutcome::Cancelled);
            {
                std::lock_guard lock(progressLock_);
                progress_.currentFile = Files_[i];
                progress_.currentIndex = int(i + 1);
            }
            ProcessEntry(Files_[i]);
            if (Operation_->LastResult() == TItemResult::Stopped) return EndRun(TRunOutcome::Cancelled);
        }
        // A cancel that came after the last file was complete stopped nothing: the run went
        // through its whole list and says so.
        host_.Finish(*this);
        EndRun(TRunOutcome::Finished);
    } catch (const std::exception& e) {
        const std::string file = Progress().currentFile;
        // The file layer's errors name their file already; the stream's do not.
        error_ = file.empty() || std::string_view(e.what()).find(file) != std::string_view::npos
                     ? std::string(e.what())
                     : file + ": " + e.what();
        EndRun(TRunOutcome::Failed);
    }
}

void TFilesIterationThread::EndRun(TRunOutcome outcome) {
    Release();
    outcome_.store(outcome);
}

// Only a regular file is encrypted, decrypted or shredded: anything else (a pipe would hold
// the open for ever, a device has no content of its own) is refused before it is opened.
// A missing file goes on to the operation, whose error ends the run.
void TFilesIterationThread::ProcessEntry(const std::string& path) {
    if (Mode_ == TSelectionMode::FilesOnly && FileSizeOf(path) >= 0 && !IsRegularFile(path)) {
        std::string reason = path + " is not a regular file; it was left alone.";
        host_.ShowMessage(reason);
        SkipEntry(path, std::move(reason));
        return;
    }
    Operation_->ResetResult();
    Operation_->ProcessFile(path);
    switch (Operation_->LastResult()) {
        case TItemResult::Done: {
            std::lock_guard lock(progressLock_);
            ++doneCount_;
            break;
        }
        case TItemResult::Skipped: SkipEntry(path, Operation_->LastReason()); break;
        case TItemResult::Stopped: break;
    }
}

void TFilesIterationThread::SkipEntry(const std::string& path, std::string reason) {
    std::lock_guard lock(progressLock_);
    skippedFiles_.push_back({path, std::move(reason)});
}

int TFilesIterationThread::DoneCount() const {
    std::lock_guard lock(progressLock_);
    return doneCount_;
}

std::vector<TSkippedFile> TFilesIterationThread::SkippedFiles() const {
    std::lock_guard lock(progressLock_);
    return skippedFiles_;
}

void TFilesIterationThread::Collect() {
    for (auto& path : cmdLineFiles_) Files_.push_back(path);
    if (Mode_ == TSelectionMode::FilesOnly) {
        // From the last entry to the first: a folder is replaced by its contents, which go to
        // the end of the list.
        for (std::size_t i = cmdLineFiles_.size(); i-- > 0;) {
            if (!DirectoryExists(cmdLineFiles_[i])) continue;
            CollectFolderFiles(cmdLineFiles_[i]);
            Files_.erase(Files_.begin() + std::ptrdiff_t(i));
        }
    }
    cmdLineFiles_.clear();  // they belong to this run alone
    for (const auto& root : roots_) {
        if (IsCancelled()) break;
        if (Mode_ == TSelectionMode::WholeItems && root.state == 1)
            Append(root.text);
        else
            CollectNode(root);
    }
    std::int64_t total = 1;
    for (const auto& f : Files_) {
        if (DirectoryExists(f)) continue;
        total += FileSizeOf(f);
    }
    std::lock_guard lock(progressLock_);
    progress_.totalBytes = total;
    progress_.fileCount = int(Files_.size());
}

void TFilesIterationThread::CollectNode(const TTreeNodeSnapshot& node) {
    if (node.text == kPlaceholderNodeText || IsCancelled()) return;
    if (node.state == 1) {
        if (node.imageIndex >= 8 || Mode_ == TSelectionMode::WholeItems)
            Append(node.path);
        else if (node.children.size() == 1 && node.children[0].text == kPlaceholderNodeText)
            CollectFolderFiles(WithTrailingSeparator(node.path));
        else
            for (const auto& child : node.children) CollectNode(child);
    } else if (node.state == 2) {
        for (const auto& child : node.children) CollectNode(child);
    }
}

// Depth-first: a subfolder's files are listed where the subfolder is met. Links to folders
// are not followed, so the walk never loops and never leaves the chosen folder. Only
// regular files and links to them are listed: pipes, sockets and devices are no files to
// protect, and opening a pipe would wait for a writer.
void TFilesIterationThread::CollectFolderFiles(std::string dir) {
    if (IsCancelled()) return;
    dir = WithTrailingSeparator(std::move(dir));
    std::vector<TDirEntry> entries;
    try {
        entries = ListDirectory(dir);
    } catch (const EFileError&) {
        return;  // a folder that cannot be listed contributes nothing
    }
    for (const auto& e : entries) {
        if (IsCancelled()) return;
        const std::string path = dir + e.name;
        if (e.isDirectory)
            CollectFolderFiles(path + kPathSeparator);
        else if (e.isRegular)
            Append(path);
    }
}

void TFilesIterationThread::Append(std::string path) {
    Files_.push_back(std::move(path));
    std::lock_guard lock(progressLock_);
    progress_.fileCount = int(Files_.size());
}

double TFilesIterationThread::Elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - StartTime).count();
}

void TFilesIterationThread::ReportProgress(std::int64_t done, std::int64_t total, std::int64_t processed,
                                           double seconds) {
    std::lock_guard lock(progressLock_);
    auto& p = progress_;
    p.doneBytes += processed;
    p.currentFileDone = done;
    p.currentFileTotal = total;
    p.elapsedSeconds = Elapsed();
    // The last chunk's speed; when it gives none (no measurable time, or nothing counted,
    // as for small chunks of an all-at-once run), the run's average speed; failing that,
    // the estimate stays as it was.
    double rate = 0;
    if (processed > 0 && seconds > 0)
        rate = double(processed) / seconds;
    else if (p.doneBytes > 0 && p.elapsedSeconds > 0)
        rate = double(p.doneBytes) / p.elapsedSeconds;
    if (rate > 0) p.remainingSeconds = std::nearbyint(double(p.totalBytes - p.doneBytes) / rate);
}

bool TFilesIterationThread::QueryPassword(const std::string& fileName, ByteString& password) {
    ByteString entered;
    if (!host_.AskPassword(BareName(fileName), entered)) return false;
    password = entered;
    return true;
}

TProgressSnapshot TFilesIterationThread::Progress() const {
    std::lock_guard lock(progressLock_);
    return progress_;
}

std::shared_ptr<TFilesIterationThread> StartOperation(std::unique_ptr<TOperation> operation, TSelectionMode mode,
                                                      IOperationHost& host, std::vector<std::string> cmdLineFiles,
                                                      std::vector<TTreeNodeSnapshot> roots) {
    std::lock_guard lock(g_workerLock);
    if (g_currentWorker && g_currentWorker->Outcome() == TRunOutcome::Running) return nullptr;
    auto worker = std::make_shared<TFilesIterationThread>(std::move(operation), mode, std::move(cmdLineFiles),
                                                          std::move(roots), host);
    g_currentWorker = worker;
    worker->Start();  // last: everything the thread reads is set
    return worker;
}

std::shared_ptr<TFilesIterationThread> CurrentWorker() {
    std::lock_guard lock(g_workerLock);
    return g_currentWorker;
}

bool IsOperationRunning() {
    auto w = CurrentWorker();
    return w && w->Outcome() == TRunOutcome::Running;
}

void CancelOperation() {
    if (auto w = CurrentWorker()) {
        w->Release();
        w->Cancel();
    }
}

void StopCurrentOperation() {
    std::shared_ptr<TFilesIterationThread> w;
    {
        std::lock_guard lock(g_workerLock);
        w = std::move(g_currentWorker);
    }
    if (w) {
        w->Cancel();
        w->Wait();
    }
}

}  // namespace vantrel
