#include "cli/TerminalHost.h"

#include <csignal>
#include <cstdio>
#include <iostream>

#include "cli/Terminal.h"
#include "i18n/LangConstants.h"
#include "i18n/MessageFormat.h"
#include "operations/Operations.h"
#include "platform/CodePage.h"

namespace vantrel::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

std::string Clock(double seconds) {
    if (seconds < 0) seconds = 0;
    const auto s = static_cast<long long>(seconds);
    char buf[32];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(buf, sizeof buf, "%02lld:%02lld", s / 60, s % 60);
    return buf;
}

int Percent(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return 0;
    const double p = 100.0 * double(part) / double(whole);
    return p < 0 ? 0 : p > 100 ? 100 : int(p);
}

}  // namespace

void InstallInterruptHandler() {
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

bool TTerminalHost::AskPassword(const std::string& promptFileName, ByteString& password) {
    const std::string prompt = FormatMessageText(LangConstant("Enter_valid_pass"), {promptFileName});
    std::lock_guard lock(out_);
    std::optional<std::string> typed;
    if (mayAsk_) {
        if (drewProgress_) std::cerr << "\r\033[K";
        typed = AskHidden(prompt + ": ");
    }
    if (!typed) return false;  // the file is listed as skipped when the run ends
    password = Utf8ToAnsi(*typed);
    SecureZero(typed->data(), typed->size());
    return true;
}

void TTerminalHost::ShowMessage(const std::string& text) {
    std::lock_guard lock(out_);
    if (drewProgress_) std::cerr << "\r\033[K";
    std::cerr << "vantrel-cli: " << text << "\n";
    shown_.insert(text);
}

namespace {

// "3 files were encrypted": the files that were done, not every file listed.
std::string CountLine(TFilesIterationThread& worker) {
    const int n = worker.DoneCount();
    return FormatMessageText(LangConstant(n >= 2 ? "Files_were" : "File_was"),
                             {std::to_string(n), worker.Operation().GetDoneVerb()});
}

}  // namespace

void TTerminalHost::Finish(TFilesIterationThread& worker) {
    const std::string line = CountLine(worker);
    std::lock_guard lock(out_);
    if (drewProgress_) std::cerr << "\r\033[K";
    std::cerr << worker.Operation().GetCompletedText() << ": " << line << "\n";
}

// Each skipped file with its reason, unless the reason was shown as the run went; then the
// count. True when any was skipped.
bool TTerminalHost::ReportSkipped(const TFilesIterationThread& worker) {
    const auto skipped = worker.SkippedFiles();
    if (skipped.empty()) return false;
    for (const auto& s : skipped)
        if (!shown_.count(s.reason)) std::cerr << "vantrel-cli: " << s.reason << "\n";
    std::cerr << "vantrel-cli: " << skipped.size() << (skipped.size() == 1 ? " file" : " files") << " skipped\n";
    return true;
}

void TTerminalHost::DrawProgress(const TProgressSnapshot& p, bool final) {
    std::lock_guard lock(out_);
    if (final) {
        if (drewProgress_) std::cerr << "\r\033[K" << std::flush;
        return;
    }
    if (p.fileCount == 0) return;
    const int file = Percent(p.currentFileDone, p.currentFileTotal);
    const int all = Percent(p.doneBytes, p.totalBytes);
    std::string bar(20, '.');
    for (int i = 0; i < file / 5; ++i) bar[std::size_t(i)] = '#';
    std::string name = p.currentFile;
    if (name.size() > 40) name = "..." + name.substr(name.size() - 37);
    char line[256];
    std::snprintf(line, sizeof line, "\r\033[K%3d%% [%s] %s  (%d of %d)  all %d%%  %s left", file, bar.c_str(),
                  name.c_str(), p.currentIndex, p.fileCount, all, Clock(p.remainingSeconds).c_str());
    std::cerr << line << std::flush;
    drewProgress_ = true;
}

int TTerminalHost::Run(const std::shared_ptr<TFilesIterationThread>& worker) {
    const bool draw = StderrIsTerminal();
    while (worker->Outcome() == TRunOutcome::Running) {
        if (g_interrupted) {
            CancelOperation();
            g_interrupted = 0;
        }
        if (draw) DrawProgress(worker->Progress(), false);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    worker->Wait();
    if (draw) DrawProgress(worker->Progress(), true);
    switch (worker->Outcome()) {
        case TRunOutcome::Finished: return ReportSkipped(*worker) ? 1 : 0;
        case TRunOutcome::Cancelled:
            ReportSkipped(*worker);
            std::cerr << "vantrel-cli: cancelled; " << CountLine(*worker) << "\n";
            return 1;
        case TRunOutcome::Failed:
            ReportSkipped(*worker);
            std::cerr << "vantrel-cli: " << worker->ErrorMessage() << "\n";
            return 1;
        case TRunOutcome::Running: break;
    }
    return 1;
}

}  // namespace vantrel::cli
