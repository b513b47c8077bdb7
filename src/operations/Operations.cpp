#include "operations/Operations.h"

#include "app/AppFolders.h"
#include "i18n/LangConstants.h"
#include "i18n/MessageFormat.h"
#include "operations/OperationHost.h"
#include "hide/HiddenConfig.h"
#include "hide/HideShowRoutines.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/JpegFile.h"
#include "shred/ShredAlgorithms.h"

namespace vantrel {

namespace {

std::vector<std::unique_ptr<TOperation>> g_operationList;
// res/0.jpg to res/4.jpg for the list positions, res/5.jpg to res/9.jpg highlighted.
std::vector<TRgbImage> g_operationImages;

// The three bytes of a file's tag; fewer than three bytes is a read error, as for any
// damaged file.
TCryptoAlgorithm* AlgorithmOfFile(const std::string& fileName) {
    TFileStream in(fileName, TFileMode::Read);
    std::uint8_t tag[3];
    in.ReadBuffer(tag, 3);
    return FindAlgorithmByTag(tag);
}

// The source goes only after its output was completed; a failed deletion is ignored.
void DeleteSourceAfter(TCryptoResult result, bool deleteSource, const std::string& fileName) {
    if (result == TCryptoResult::Completed && deleteSource) DeleteFile(fileName);
}

}  // namespace

void TOperation::Skip(std::string reason, bool tell) {
    if (tell && Host) Host->ShowMessage(reason);
    lastResult_ = TItemResult::Skipped;
    lastReason_ = std::move(reason);
}

void TEncrypt::ProcessFile(const std::string& fileName) {
    const auto result = CryptoAlgorithm->EncryptFile(fileName, PasswordBytes, OnCancelQuery, OnProgress, OnPasswordQuery);
    if (result == TCryptoResult::Cancelled) Stop();
    DeleteSourceAfter(result, DeleteSource, fileName);
}
std::string TEncrypt::GetCompletedText() const { return LangConstant("Encryption_completed"); }
std::string TEncrypt::GetDoneVerb() const { return LangConstant("encrypted"); }

void TDecrypt::ProcessFile(const std::string& fileName) {
    CryptoAlgorithm = AlgorithmOfFile(fileName);
    if (!CryptoAlgorithm) {
        Skip(FormatMessageText(LangConstant("Encryption_algo_not_found"), {fileName}));
        return;
    }
    // A password typed for this file is tried first on the files that follow.
    const TCryptoPasswordQuery query = [this](const std::string& name, ByteString& password) {
        if (!OnPasswordQuery || !OnPasswordQuery(name, password)) return false;
        PasswordBytes = password;
        return true;
    };
    TCryptoResult result;
    try {
        result = CryptoAlgorithm->DecryptFile(fileName, PasswordBytes, OnCancelQuery, OnProgress, query);
    } catch (const ERefusedFile& e) {
        Skip(e.what());
        return;
    }
    if (result == TCryptoResult::GivenUp) Skip("The password does not open " + fileName + "; it was left alone.", false);
    if (result == TCryptoResult::Cancelled) Stop();
    DeleteSourceAfter(result, DeleteSource, fileName);
}
std::string TDecrypt::GetCompletedText() const { return LangConstant("Decryption_completed"); }
std::string TDecrypt::GetDoneVerb() const { return LangConstant("decrypted"); }

void TShred::ProcessFile(const std::string& fileName) {
    if (Scheme->ShredFile(fileName, OnCancelQuery, OnProgress)) return;
    if (OnCancelQuery && OnCancelQuery())
        Stop();
    else
        Skip(fileName + " was overwritten but could not be deleted.");
}
std::string TShred::GetCompletedText() const { return LangConstant("Shredding_completed"); }
std::string TShred::GetDoneVerb() const { return LangConstant("shredded"); }

// A drive is a path the platform knows as a drive's mount path (a folder ticked in the tree
// arrives without a trailing separator and is hidden and recorded as a file, as on Windows;
// only a path ending in the separator is recorded as a folder). A path the store cannot
// hold whole could never be shown again, so it is not hidden.
void THide::ProcessFile(const std::string& path) {
    if (path.size() < 1) return;
    const bool drive = IsDriveRoot(path);
    const std::string recorded = drive ? DriveRootPath(path) : path;
    if (!THiddenConfig::CanStore(recorded)) {
        Skip(path + " cannot be recorded (a path with a line break or longer than " +
             std::to_string(THiddenConfig::kMaxPathUnits) + " characters), so it was not hidden.");
        return;
    }
    if (drive)
        HideDrive(recorded);
    else if (path.back() == kPathSeparator)
        HideFolder(path);
    else
        HideFile(path);
}
std::string THide::GetCompletedText() const { return LangConstant("Hide_operation_completed"); }
std::string THide::GetDoneVerb() const { return LangConstant("hidden"); }

void TShow::ProcessFile(const std::string& path) {
    const auto index = std::size_t(ItemIndex);
    switch (HiddenItemsStore->Item(index).ItemType) {
        case hitFolder: ShowFolder(path, index); break;
        case hitDrive: ShowDrive(path, index); break;
        default: ShowFile(path, index); break;
    }
}
std::string TShow::GetCompletedText() const { return LangConstant("Show_operation_completed"); }
std::string TShow::GetDoneVerb() const { return LangConstant("shown"); }

void CreateOperationList() {
    g_operationList.clear();
    g_operationList.push_back(std::make_unique<TEncrypt>(LangConstant("Encrypt"), LangConstant("Encrypt_desc")));
    g_operationList.push_back(std::make_unique<TDecrypt>(LangConstant("Decrypt"), LangConstant("Decrypt_desc")));
    g_operationList.push_back(std::make_unique<TShred>(LangConstant("Shred"), LangConstant("Shred_desc")));
    g_operationList.push_back(std::make_unique<THide>(LangConstant("Hide"), LangConstant("Hide_desc")));
    g_operationList.push_back(std::make_unique<TShow>(LangConstant("Show"), LangConstant("Show_desc")));

    // A missing picture stops the start: LoadJpegFile names the file.
    g_operationImages.clear();
    const std::string folder = GetProgramFolder() + "res/";
    for (std::size_t n = 0; n < 2 * g_operationList.size(); ++n)
        g_operationImages.push_back(LoadJpegFile(folder + std::to_string(n) + ".jpg"));
}

void FreeOperationList() {
    g_operationList.clear();
    g_operationImages.clear();
}
const TRgbImage& GetOperationImage(int position) { return g_operationImages.at(std::size_t(position)); }
const TRgbImage& GetOperationHotImage(int position) {
    return g_operationImages.at(std::size_t(position) + g_operationList.size());
}
int OperationCount() { return int(g_operationList.size()); }
TOperation& GetOperation(int position) { return *g_operationList.at(std::size_t(position)); }

}  // namespace vantrel
