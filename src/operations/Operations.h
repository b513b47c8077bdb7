#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/SecureMemory.h"
#include "encryption/CryptoAlgorithms.h"
#include "platform/JpegFile.h"

namespace vantrel {

class TShredAlgorithm;
class IOperationHost;

// What became of one item.
enum class TItemResult {
    Done,     // the operation completed it
    Skipped,  // left as it was, for a reason; the run goes on
    Stopped   // the cancel stopped it part-way; nothing of it was kept
};

// One thing the program does to an item (a file path; for hiding also a folder or a drive).
// The worker calls ProcessFile once per listed item with its callbacks attached; the texts
// are what the finish page shows afterwards.
class TOperation {
public:
    TOperation(std::string name = {}, std::string description = {})
        : Name(std::move(name)), Description(std::move(description)) {}
    virtual ~TOperation() = default;

    virtual void ProcessFile(const std::string& fileName) = 0;
    virtual std::string GetCompletedText() const = 0;
    virtual std::string GetDoneVerb() const = 0;

    // The outcome of the latest ProcessFile call: Done unless the operation said otherwise.
    TItemResult LastResult() const { return lastResult_; }
    const std::string& LastReason() const { return lastReason_; }
    void ResetResult() {
        lastResult_ = TItemResult::Done;
        lastReason_.clear();
    }

    TCryptoCancelQuery OnCancelQuery;
    TCryptoProgressEvent OnProgress;
    TCryptoPasswordQuery OnPasswordQuery;
    // Where messages for the user go (a file without a known tag, a refused stored name);
    // set by the worker like the callbacks.
    IOperationHost* Host = nullptr;
    std::string Name;
    std::string Description;

protected:
    // The item is left as it was; the reason is a sentence for the user naming it, shown as
    // a message too unless the user has just given the answer that skips it.
    void Skip(std::string reason, bool tell = true);
    void Stop() { lastResult_ = TItemResult::Stopped; }

private:
    TItemResult lastResult_ = TItemResult::Done;
    std::string lastReason_;
};

class TCrypt : public TOperation {
public:
    using TOperation::TOperation;
    TCryptoAlgorithm* CryptoAlgorithm = nullptr;  // borrowed from the registry
    ByteString PasswordBytes;
    bool DeleteSource = false;
};

class TEncrypt : public TCrypt {
public:
    using TCrypt::TCrypt;
    void ProcessFile(const std::string& fileName) override;
    std::string GetCompletedText() const override;
    std::string GetDoneVerb() const override;
};

class TDecrypt : public TCrypt {
public:
    using TCrypt::TCrypt;
    void ProcessFile(const std::string& fileName) override;
    std::string GetCompletedText() const override;
    std::string GetDoneVerb() const override;
};

class TShred : public TOperation {
public:
    using TOperation::TOperation;
    void ProcessFile(const std::string& fileName) override;
    std::string GetCompletedText() const override;
    std::string GetDoneVerb() const override;
    TShredAlgorithm* Scheme = nullptr;  // borrowed from the scheme list
};

class THide : public TOperation {
public:
    using TOperation::TOperation;
    void ProcessFile(const std::string& path) override;
    std::string GetCompletedText() const override;
    std::string GetDoneVerb() const override;
};

class TShow : public TOperation {
public:
    using TOperation::TOperation;
    void ProcessFile(const std::string& path) override;
    std::string GetCompletedText() const override;
    std::string GetDoneVerb() const override;
    int ItemIndex = 0;
};

// The five display entries of the main window's operation list, in their order, with their
// pictures from the program folder's res/ (the plain one and the highlighted one of each).
void CreateOperationList();
void FreeOperationList();
int OperationCount();
TOperation& GetOperation(int position);
const TRgbImage& GetOperationImage(int position);
const TRgbImage& GetOperationHotImage(int position);

}  // namespace vantrel
