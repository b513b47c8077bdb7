#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <condition_variable>
#include <filesystem>

#include "TestFolder.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LanguageManager.h"
#include "operations/FilesIterationCallbacks.h"
#include "operations/FilesIterationThread.h"
#include "operations/Operations.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// A host that answers as a script says and remembers what it was asked.
struct FakeHost : IOperationHost {
    bool AskPassword(const std::string& name, ByteString& pw) override {
        asked.push_back(name);
        if (answers.empty()) return false;
        pw = ByteString::FromAscii(answers.front());
        answers.erase(answers.begin());
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Finish(TFilesIterationThread& w) override {
        finished = true;
        finishedFiles = w.Files();
    }
    void Release() override { ++released; }

    std::vector<std::string> answers, asked, messages, finishedFiles;
    bool finished = false;
    int released = 0;
};

// Records each processed item; can be told to cancel the run at a given item.
struct RecordingOperation : TOperation {
    void ProcessFile(const std::string& f) override {
        seen.push_back(f);
        if (onProcess) onProcess(f);
    }
    std::string GetCompletedText() const override { return "done"; }
    std::string GetDoneVerb() const override { return "seen"; }
    std::vector<std::string>& seen;
    std::function<void(const std::string&)> onProcess;
    explicit RecordingOperation(std::vector<std::string>& s) : seen(s) {}
};

class Worker : public ::testing::Test {
protected:
    std::shared_ptr<TFilesIterationThread> Run(std::unique_ptr<TOperation> op, TSelectionMode mode,
                                               std::vector<std::string> cmdLine,
                                               std::vector<TTreeNodeSnapshot> roots = {}) {
        auto w = StartOperation(std::move(op), mode, host, std::move(cmdLine), std::move(roots));
        EXPECT_NE(w, nullptr);
        w->Wait();
        return w;
    }
    std::vector<std::string> Collected(TSelectionMode mode, std::vector<std::string> cmdLine,
                                       std::vector<TTreeNodeSnapshot> roots = {}) {
        seen.clear();
        Run(std::make_unique<RecordingOperation>(seen), mode, std::move(cmdLine), std::move(roots));
        return seen;
    }
    test::TestFolder dir;
    FakeHost host;
    std::vector<std::string> seen;
};

TEST_F(Worker, CommandLineFoldersAreReplacedByTheirFilesLastFolderFirst) {
    dir.Write("A/a1", "1");
    dir.Write("A/sub/a2", "22");
    dir.Write("b", "3");
    dir.Write("C/c1", "4");
    const auto files = Collected(TSelectionMode::FilesOnly, {dir.File("A"), dir.File("b"), dir.File("C")});
    EXPECT_EQ(files, (std::vector<std::string>{dir.File("b"), dir.File("C/c1"), dir.File("A/a1"),
                                               dir.File("A/sub/a2")}));
    EXPECT_TRUE(host.finished);
    EXPECT_EQ(host.released, 1);
}

TEST_F(Worker, WholeItemsKeepsFoldersAsTheyAre) {
    dir.Write("A/a1", "1");
    EXPECT_EQ(Collected(TSelectionMode::WholeItems, {dir.File("A")}), std::vector<std::string>{dir.File("A")});
}

TEST_F(Worker, AnEmptySelectionFinishesAtOnce) {
    fs::create_directories(dir.File("empty"));
    EXPECT_TRUE(Collected(TSelectionMode::FilesOnly, {dir.File("empty")}).empty());
    EXPECT_TRUE(host.finished);
    EXPECT_TRUE(host.finishedFiles.empty());
}

TEST_F(Worker, LinksToFoldersAreNotFollowedLinksToFilesAreListed) {
    dir.Write("top/f", "x");
    fs::create_directory_symlink(dir.File("top"), dir.File("top/loop"));
    fs::create_directory_symlink("/etc", dir.File("top/outside"));
    fs::create_symlink(dir.File("top/f"), dir.File("top/g"));
    EXPECT_EQ(Collected(TSelectionMode::FilesOnly, {dir.File("top")}),
              (std::vector<std::string>{dir.File("top/f"), dir.File("top/g")}));
}

TEST_F(Worker, TheTreeContributesTickedFilesAndFolders) {
    dir.Write("r/x/1", "1");
    dir.Write("r/x/2", "2");
    dir.Write("r/y/3", "3");
    dir.Write("r/z", "4");
    auto node = [&](std::string rel, int state, int image, std::vector<TTreeNodeSnapshot> kids = {}) {
        return TTreeNodeSnapshot{fs::path(rel).filename().string(), dir.File(rel), state, image, std::move(kids)};
    };
    const TTreeNodeSnapshot placeholder{kPlaceholderNodeText, "", 1, 0, {}};
    // r partly ticked: x ticked but never expanded, y expanded with only "3" shown and not
    // ticked, the file z ticked.
    auto root = node("r", 2, 0,
                     {node("r/x", 1, 0, {placeholder}), node("r/y", 2, 0, {node("r/y/3", 3, 8)}), node("r/z", 1, 8)});
    EXPECT_EQ(Collected(TSelectionMode::FilesOnly, {}, {root}),
              (std::vector<std::string>{dir.File("r/x/1"), dir.File("r/x/2"), dir.File("r/z")}));
    root.state = 1;
    EXPECT_EQ(Collected(TSelectionMode::WholeItems, {}, {root}), std::vector<std::string>{"r"}) << "a root by its text";
}

TEST_F(Worker, AFileThatVanishesBeforeItsTurnEndsTheRun) {
    InitCryptoAlgorithms(LanguageSetting());
    dir.Write("1", "one");
    dir.Write("2", "two");
    dir.Write("3", "three");
    auto op = std::make_unique<TEncrypt>();
    op->CryptoAlgorithm = &AlgorithmAt(0);
    op->PasswordBytes = ByteString::FromAscii("pw");
    // Another program deleted the second file after it was chosen.
    fs::remove(dir.File("2"));
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {dir.File("1"), dir.File("2"), dir.File("3")});
    EXPECT_EQ(w->Outcome(), TRunOutcome::Failed);
    EXPECT_NE(w->ErrorMessage().find(dir.File("2")), std::string::npos) << w->ErrorMessage();
    EXPECT_TRUE(fs::exists(dir.File("1.enc")));
    EXPECT_FALSE(fs::exists(dir.File("3.enc")));
    EXPECT_FALSE(host.finished);
    EXPECT_EQ(host.released, 1);
    DoneCryptoAlgorithms();
}

TEST_F(Worker, CancelStopsBeforeTheNextFileAndShowsNoFinish) {
    for (int i = 0; i < 5; ++i) dir.Write("f" + std::to_string(i), "x");
    auto op = std::make_unique<RecordingOperation>(seen);
    op->onProcess = [](const std::string&) { CancelOperation(); };
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {dir.File("")});
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(w->Outcome(), TRunOutcome::Cancelled);
    EXPECT_FALSE(host.finished);
    EXPECT_EQ(host.released, 1) << "released once, by the cancel";
}

TEST_F(Worker, CancelMidFileLeavesNoPartialOutput) {
    InitCryptoAlgorithms(LanguageSetting());
    const std::string big = dir.Write("big", std::string(20000000, 'b'));
    auto op = std::make_unique<TEncrypt>();
    op->CryptoAlgorithm = &AlgorithmAt(0);
    op->PasswordBytes = ByteString::FromAscii("pw");
    op->DeleteSource = true;
    auto w = StartOperation(std::move(op), TSelectionMode::FilesOnly, host, {big});
    ASSERT_NE(w, nullptr);
    while (w->Progress().currentFileDone == 0 && w->Outcome() == TRunOutcome::Running) std::this_thread::yield();
    CancelOperation();
    w->Wait();
    ASSERT_EQ(w->Outcome(), TRunOutcome::Cancelled);
    EXPECT_LT(w->Progress().currentFileDone, w->Progress().currentFileTotal);
    EXPECT_FALSE(fs::exists(big + ".enc"));
    EXPECT_TRUE(fs::exists(big)) << "the source is kept";
    EXPECT_FALSE(host.finished);
    DoneCryptoAlgorithms();
}

TEST_F(Worker, AnotherPasswordIsKeptForTheFollowingFiles) {
    InitCryptoAlgorithms(LanguageSetting());
    for (const char* n : {"p1", "p2"}) {
        dir.Write(n, n);
        AlgorithmAt(0).EncryptFile(dir.File(n), ByteString::FromAscii("right"), nullptr, nullptr, nullptr);
        fs::remove(dir.File(n));
    }
    host.answers = {"right"};
    auto op = std::make_unique<TDecrypt>();
    op->PasswordBytes = ByteString::FromAscii("wrong");
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {dir.File("p1.enc"), dir.File("p2.enc")});
    EXPECT_EQ(w->Outcome(), TRunOutcome::Finished);
    EXPECT_EQ(host.asked, std::vector<std::string>{"p1.enc"}) << "asked once, with the bare name";
    EXPECT_EQ(dir.Read("p1"), "p1");
    EXPECT_EQ(dir.Read("p2"), "p2");
    DoneCryptoAlgorithms();
}

TEST_F(Worker, OnlyOneRunAtATime) {
    std::mutex m;
    std::condition_variable cv;
    bool go = false;
    auto op = std::make_unique<RecordingOperation>(seen);
    op->onProcess = [&](const std::string&) {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return go; });
    };
    dir.Write("f", "x");
    auto first = StartOperation(std::move(op), TSelectionMode::FilesOnly, host, {dir.File("f")});
    EXPECT_EQ(StartOperation(std::make_unique<RecordingOperation>(seen), TSelectionMode::FilesOnly, host, {}), nullptr);
    EXPECT_TRUE(IsOperationRunning());
    {
        std::lock_guard lock(m);
        go = true;
    }
    cv.notify_all();
    first->Wait();
    EXPECT_FALSE(IsOperationRunning());
}

// Waits for the run's end, at most a minute. A run still going then is stuck in the open of
// a pipe: each pipe is opened for writing once, which frees it, and the test fails.
bool EndsWithin(TFilesIterationThread& w, const std::vector<std::string>& pipes) {
    for (int i = 0; i < 600 && w.Outcome() == TRunOutcome::Running; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const bool ended = w.Outcome() != TRunOutcome::Running;
    if (!ended)
        for (const auto& p : pipes) ::close(::open(p.c_str(), O_WRONLY | O_NONBLOCK));
    w.Wait();
    return ended;
}

TEST_F(Worker, PipesAreLeftOutOfFoldersAndRefusedByNameAndTheRunGoesOn) {
    InitCryptoAlgorithms(LanguageSetting());
    dir.Write("d/a", "a");
    ASSERT_EQ(::mkfifo(dir.File("d/p").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("q").c_str(), 0600), 0);
    auto op = std::make_unique<TEncrypt>();
    op->CryptoAlgorithm = &AlgorithmAt(0);
    op->PasswordBytes = ByteString::FromAscii("pw");
    auto w = StartOperation(std::move(op), TSelectionMode::FilesOnly, host, {dir.File("d"), dir.File("q")});
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(EndsWithin(*w, {dir.File("d/p"), dir.File("q")}));
    EXPECT_EQ(w->Outcome(), TRunOutcome::Finished);
    EXPECT_EQ(w->Files(), (std::vector<std::string>{dir.File("q"), dir.File("d/a")}));
    EXPECT_EQ(w->DoneCount(), 1);
    const auto skipped = w->SkippedFiles();
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].path, dir.File("q"));
    EXPECT_EQ(host.messages, std::vector<std::string>{skipped[0].reason});
    EXPECT_NE(skipped[0].reason.find(dir.File("q")), std::string::npos) << skipped[0].reason;
    EXPECT_TRUE(fs::exists(dir.File("d/a.enc")));
    EXPECT_FALSE(fs::exists(dir.File("q.enc")));
    DoneCryptoAlgorithms();
}

TEST_F(Worker, AnErrorThatEndsTheRunNamesItsFile) {
    InitCryptoAlgorithms(LanguageSetting());
    // A tag and a name length, then the file ends inside the name.
    const std::string damaged = dir.Write("d/damaged.enc", std::string("BFS\0\0\0\0\x08\0\0\0AAAA", 15));
    auto op = std::make_unique<TDecrypt>();
    op->PasswordBytes = ByteString::FromAscii("pw");
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {dir.File("d")});
    ASSERT_EQ(w->Outcome(), TRunOutcome::Failed);
    EXPECT_NE(w->ErrorMessage().find(damaged), std::string::npos) << w->ErrorMessage();
    EXPECT_NE(w->ErrorMessage().find("Stream read error"), std::string::npos) << w->ErrorMessage();
    DoneCryptoAlgorithms();
}

// Encryption that presses Cancel when its last chunk has been reported.
struct EncryptCancelledLate : TEncrypt {
    void ProcessFile(const std::string& fileName) override {
        const auto report = OnProgress;
        OnProgress = [&](std::int64_t done, std::int64_t total, std::int64_t processed, double seconds) {
            report(done, total, processed, seconds);
            if (done == total) CancelOperation();
        };
        TEncrypt::ProcessFile(fileName);
        OnProgress = report;
    }
};

TEST_F(Worker, ACancelAfterTheLastChunkStopsNothingAndTheFileCountsAsDone) {
    InitCryptoAlgorithms(LanguageSetting());
    const std::string src = dir.Write("f", std::string(5000, 'f'));
    auto op = std::make_unique<EncryptCancelledLate>();
    op->CryptoAlgorithm = &AlgorithmAt(0);
    op->PasswordBytes = ByteString::FromAscii("pw");
    op->DeleteSource = true;
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {src});
    EXPECT_EQ(w->Outcome(), TRunOutcome::Finished);
    EXPECT_EQ(w->DoneCount(), 1);
    EXPECT_TRUE(host.finished);
    EXPECT_TRUE(fs::exists(src + ".enc"));
    EXPECT_FALSE(fs::exists(src)) << "deleted after its output was complete";
    DoneCryptoAlgorithms();
}

TEST_F(Worker, OnlyFilesThatWereDoneAreCountedAndTheOthersListedWithTheirReason) {
    InitCryptoAlgorithms(LanguageSetting());
    const auto encrypt = [&](const std::string& name, const char* password, int position) {
        dir.Write(name, name);
        AlgorithmAt(position).EncryptFile(dir.File(name), ByteString::FromAscii(password), nullptr, nullptr, nullptr);
        fs::remove(dir.File(name));
    };
    encrypt("d/good", "pw", 0);
    encrypt("d/other", "not this one", 0);
    encrypt("d/all", "pw", AlgorithmCount() - 2);
    std::string all = dir.Read("d/all.enc");
    dir.Write("d/all.enc", all.replace(0, 3, "ALL"));
    dir.Write("d/plain.txt", "no tag");
    auto op = std::make_unique<TDecrypt>();
    op->PasswordBytes = ByteString::FromAscii("pw");
    auto w = Run(std::move(op), TSelectionMode::FilesOnly, {dir.File("d")});
    ASSERT_EQ(w->Outcome(), TRunOutcome::Finished);
    EXPECT_EQ(w->DoneCount(), 2) << "good.enc, and all.enc too";
    const auto skipped = w->SkippedFiles();
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].path, dir.File("d/other.enc"));
    EXPECT_NE(skipped[0].reason.find("password"), std::string::npos) << skipped[0].reason;
    EXPECT_EQ(skipped[1].path, dir.File("d/plain.txt"));
    EXPECT_EQ(skipped[1].reason, "Encryption algorithm for " + dir.File("d/plain.txt") + " not found");
    EXPECT_EQ(host.messages, std::vector<std::string>{skipped[1].reason}) << "no message for a refused password";
    EXPECT_EQ(dir.Read("d/all"), "d/all");
    DoneCryptoAlgorithms();
}

TEST(WorkerProgress, EstimatesWithoutDividingByZero) {
    FakeHost host;
    std::vector<std::string> seen;
    TFilesIterationThread w(std::make_unique<RecordingOperation>(seen), TSelectionMode::FilesOnly, {}, {}, host);
    w.ReportProgress(10, 100, 10, 0.0);
    EXPECT_TRUE(std::isfinite(w.Progress().remainingSeconds));
    w.ReportProgress(20, 100, 0, 0.5);
    EXPECT_TRUE(std::isfinite(w.Progress().remainingSeconds));
    EXPECT_EQ(w.Progress().doneBytes, 10);
    EXPECT_EQ(GetTotalBytes(), 1) << "accessors give defaults without a running worker";
    EXPECT_EQ(GetCurrentFileName(), "");
}

}  // namespace
}  // namespace vantrel
