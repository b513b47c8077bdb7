#include "operations/FilesIterationCallbacks.h"

#include "operations/FilesIterationThread.h"

namespace vantrel {

namespace {

TProgressSnapshot Current() {
    auto w = CurrentWorker();
    return w && w->Outcome() == TRunOutcome::Running ? w->Progress() : TProgressSnapshot{};
}

}  // namespace

double GetElapsedTime() { return Current().elapsedSeconds; }
double GetRemainingTime() { return Current().remainingSeconds; }
std::string GetCurrentFileName() { return Current().currentFile; }
int GetCurrentFileIndex() { return Current().currentIndex; }
int GetFileCount() { return Current().fileCount; }
std::int64_t GetDoneBytes() { return Current().doneBytes; }
std::int64_t GetTotalBytes() {
    const auto t = Current().totalBytes;
    return t > 0 ? t : 1;
}
std::int64_t GetCurrentFileDone() { return Current().currentFileDone; }
std::int64_t GetCurrentFileTotal() { return Current().currentFileTotal; }

}  // namespace vantrel
