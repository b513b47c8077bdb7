#include "shred/ShredAlgorithms.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <initializer_list>

#include "app/AppFolders.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

namespace vantrel {

TShredAlgorithmList ShredAlgorithmList;

namespace {

std::unique_ptr<TIniFile> ShredDescriptions;

// What stands at the path, links not followed. A link is removed as it stands, and anything
// but a regular file is refused: a device or a pipe has no content of its own to overwrite.
enum class TTargetKind { Missing, Regular, Link, Other };

TTargetKind KindOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return TTargetKind::Missing;
    if (S_ISLNK(st.st_mode)) return TTargetKind::Link;
    return S_ISREG(st.st_mode) ? TTargetKind::Regular : TTargetKind::Other;
}

// The file being wiped. Between the flushes that end the passes it asks the kernel to start
// writing what has been overwritten so far, so the disk works while the next chunks are
// made and the flush at the end of a pass has little left to wait for.
// Bytes overwritten between two writeback requests.
constexpr std::int64_t kWritebackStep = 16 * kWipeChunkSize;

// Pass-list builders, so that each scheme reads as its table row.
std::unique_ptr<TCharGenerator> Hex(std::initializer_list<std::uint8_t> bytes) {
    auto it = bytes.begin();
    auto g = std::make_unique<THexGenerator>(*it);
    for (++it; it != bytes.end(); ++it) g->AddByte(*it);
    return g;
}
std::unique_ptr<TCharGenerator> R() { return std::make_unique<TRandomGenerator>(255); }
std::unique_ptr<TCharGenerator> C() { return std::make_unique<TRandomCharGenerator>(255); }
std::unique_ptr<TCharGenerator> I() { return std::make_unique<TInvertGenerator>(); }

// Appends in argument order, which is also the order in which the random characters are
// drawn (a braced list would copy, and unique_ptr cannot be copied).
template <typename... Makers>
void Append(TPassList& list, Makers... makers) {
    (list.push_back(makers()), ...);
}

void AppendDOD(TPassList& l) { Append(l, C, I, R, C, C, I, R); }

}  // namespace

bool WipeFile(const std::string& fileName, TPassList passes, const TCryptoCancelQuery& cancel,
              const TCryptoProgressEvent& progress) {
    switch (KindOf(fileName)) {
        case TTargetKind::Link: return DeleteFile(fileName);
        case TTargetKind::Other: throw EFileError("Cannot open file " + fileName + ": not a regular file", EINVAL);
        case TTargetKind::Missing:  // the open below reports it
        case TTargetKind::Regular: break;
    }
    using Clock = std::chrono::steady_clock;
    {
        TFileStream file(fileName, TFileMode::ReadWriteExclusive);
        const std::int64_t size = file.Size();
        const std::int64_t passCount = std::int64_t(passes.size());
        std::vector<std::uint8_t> buffer(std::size_t(std::min(kWipeChunkSize, size)));
        for (std::int64_t k = 0; k < passCount && size > 0; ++k) {
            TCharGenerator& g = *passes[std::size_t(k)];
            const bool reads = g.UsesCurrentBytes();
            file.Seek(0);
            std::int64_t unflushed = 0;  // start of the bytes not yet handed to writeback
            for (std::int64_t p = 0; p < size;) {
                if (cancel && cancel()) return false;
                const std::int64_t n = std::min(std::int64_t(buffer.size()), size - p);
                const auto start = Clock::now();
                // Only a pass that looks at the previous pass's bytes needs them read back;
                // for the others what stands in the buffer is ignored.
                if (reads) {
                    file.ReadBuffer(buffer.data(), std::size_t(n));
                    file.Seek(p);
                }
                g.Transform(buffer.data(), std::size_t(n));
                file.Write(buffer.data(), std::size_t(n));
                const auto end = Clock::now();
                if (progress)
                    progress(size * k + p, size * passCount, n / passCount,
                             std::chrono::duration<double>(end - start).count());
                p += n;
                if (p - unflushed >= kWritebackStep) {
                    file.StartWriteback(unflushed, p - unflushed);
                    unflushed = p;
                }
            }
            // Without this the page cache folds the passes into one write of the last.
            file.Sync();
        }
    }
    passes.clear();
    return DeleteFile(fileName);
}

bool TShredAlgorithm::ShredFile(const std::string& fileName, const TCryptoCancelQuery& cancel,
                                const TCryptoProgressEvent& progress) const {
    return WipeFile(fileName, CreatePasses(), cancel, progress);
}

TPassList TZeroPass::CreatePasses() const {
    TPassList l;
    l.push_back(Hex({0x00}));
    return l;
}

TPassList TRandPass::CreatePasses() const {
    TPassList l;
    Append(l, R);
    return l;
}

TPassList TAntiSoftRecover::CreatePasses() const {
    TPassList l;
    Append(l, C);
    l.push_back(Hex({0x00}));
    return l;
}

TPassList TNAVSOMF::CreatePasses() const {
    TPassList l;
    l.push_back(Hex({0xFF}));
    l.push_back(Hex({0xFF, 0xFF, 0xFF, 0xFD}));
    Append(l, R);
    return l;
}

TPassList TNAVSORL::CreatePasses() const {
    TPassList l;
    Append(l, R);
    l.push_back(Hex({0xFF, 0xFF, 0xFF, 0xE4}));
    Append(l, R);
    return l;
}

TPassList TVSITR::CreatePasses() const {
    TPassList l;
    for (int i = 0; i < 3; ++i) {
        l.push_back(Hex({0x00}));
        l.push_back(Hex({0xFF}));
    }
    l.push_back(Hex({0xAA}));
    return l;
}

TPassList TGOST::CreatePasses() const {
    TPassList l;
    Append(l, R, R, R);
    for (int i = 0; i < 3; ++i) l.push_back(Hex({0x00}));
    return l;
}

TPassList TSchneier::CreatePasses() const {
    TPassList l;
    Append(l, R);
    l.push_back(Hex({0x00}));
    Append(l, R, R, R, R, R);
    return l;
}

TPassList TDOD::CreatePasses() const {
    TPassList l;
    AppendDOD(l);
    return l;
}

TPassList TBEYNDDOD::CreatePasses() const {
    TPassList l;
    Append(l, C, C, C);
    AppendDOD(l);
    Append(l, C, C, C);
    return l;
}

TPassList TGUTMANN::CreatePasses() const {
    TPassList l;
    l.push_back(Hex({0x92, 0x49, 0x24}));
    Append(l, R, R, R);
    l.push_back(Hex({0x55}));
    l.push_back(Hex({0xAA}));
    l.push_back(Hex({0x92, 0x49, 0x24}));
    l.push_back(Hex({0x49, 0x24, 0x92}));
    l.push_back(Hex({0x24, 0x92, 0x49}));
    for (int b = 0x00; b <= 0xFF; b += 0x11) l.push_back(Hex({std::uint8_t(b)}));
    l.push_back(Hex({0x92, 0x49, 0x24}));
    l.push_back(Hex({0x49, 0x24, 0x92}));
    l.push_back(Hex({0x24, 0x92, 0x49}));
    l.push_back(Hex({0x6D, 0xB6, 0xDB}));
    l.push_back(Hex({0xB6, 0xDB, 0x6D}));
    l.push_back(Hex({0xDB, 0x6D, 0xB6}));
    Append(l, R, R, R, R);
    return l;
}

void InitShredAlgorithms(const std::string& descriptionsFile) {
    ShredAlgorithmList.clear();
    ShredDescriptions = std::make_unique<TIniFile>(descriptionsFile);
    ShredAlgorithmList.push_back(std::make_unique<TZeroPass>());
    ShredAlgorithmList.push_back(std::make_unique<TRandPass>());
    ShredAlgorithmList.push_back(std::make_unique<TAntiSoftRecover>());
    ShredAlgorithmList.push_back(std::make_unique<TNAVSOMF>());
    ShredAlgorithmList.push_back(std::make_unique<TNAVSORL>());
    ShredAlgorithmList.push_back(std::make_unique<TVSITR>());
    ShredAlgorithmList.push_back(std::make_unique<TGOST>());
    ShredAlgorithmList.push_back(std::make_unique<TSchneier>());
    ShredAlgorithmList.push_back(std::make_unique<TDOD>());
    ShredAlgorithmList.push_back(std::make_unique<TBEYNDDOD>());
    ShredAlgorithmList.push_back(std::make_unique<TGUTMANN>());
}

void InitShredAlgorithms(int languageId) {
    InitShredAlgorithms(GetProgramFolder() + "shreds" + std::to_string(languageId) + ".ini");
}

void DoneShredAlgorithms() {
    ShredAlgorithmList.clear();
    ShredDescriptions.reset();
}

std::string GetShredDescription(const TShredAlgorithm& scheme) {
    if (!ShredDescriptions) return {};
    return ShredDescriptions->ReadString("Algos", scheme.ClassName(), "");
}

std::string ShredAlgorithmBoxText(int position) {
    static const char* const kTexts[] = {
        "Quick shred by filling with zero's",
        "Fast shred, space filled by random characters",
        "Anti-software recovery tools",
        "NAVSO P-5239-26",
        "NAVSO P-5239-26 with RLL encoding scheme",
        "German VSITR algorithm",
        "Russian military standards GOST P50739-95",
        "B. Schneier's algorithm",
        "DOD 5220.22-M",
        "3+7+3 Beyond DoD Standards",
        "Guttman algorithm",
    };
    return position >= 0 && position < int(std::size(kTexts)) ? kTexts[position] : std::string();
}

}  // namespace vantrel
