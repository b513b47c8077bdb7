#include "encryption/CryptoAlgorithms.h"

#include <chrono>
#include <cstring>

#include "app/AppFolders.h"
#include "base/Bytes.h"
#include "crypto/Sha1.h"
#include "crypto/ciphers/CipherList.h"
#include "encryption/CRC32Calc.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "platform/Stream.h"

namespace vantrel {

namespace {

std::atomic<int> g_progressPassCount{1};

// Wipes the cipher when a file is done with, however it ends.
struct WipeOnExit {
    TVC_blockcipher& cipher;
    ~WipeOnExit() {
        if (cipher.Initialized()) cipher.Wipe();
    }
};

void WriteLE32(TStream& out, std::uint32_t v) {
    std::uint8_t b[4];
    bytes::StoreLE32(b, v);
    out.Write(b, 4);
}

// The two four-byte header fields count missing bytes at the end of a file as zero.
std::uint32_t ReadLE32Lenient(TStream& in) {
    std::uint8_t b[4] = {};
    std::size_t got = 0;
    while (got < 4) {
        std::size_t n = in.Read(b + got, 4 - got);
        if (n == 0) break;
        got += n;
    }
    return bytes::LoadLE32(b);
}

// One code point of strict UTF-8 at i (advanced past it): no overlong forms, no
// surrogates, nothing above U+10FFFF. False for anything else.
bool NextCodePoint(const std::string& s, std::size_t& i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t len = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        len = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += len;
    return cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// Characters that make a name show other than it is: C0 and C1 controls, DEL, the line and
// paragraph separators, and the bidirectional marks, embeddings, overrides and isolates
// (U+202E shows "txt.exe" as "exe.txt").
bool IsDeceptive(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F || c == 0x2028 ||
           c == 0x2029 || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

ByteString Utf8Bytes(const std::string& text) { return ByteString(text.begin(), text.end()); }

[[noreturn]] void RefuseExisting(const std::string& fileName, const std::string& target) {
    throw ETargetExists(fileName + " was not decrypted: the name stored in it is taken by " + target +
                        ", which was left alone.");
}

// Refuses a target that decrypting must not replace (see DecryptFile).
void CheckTarget(const TFileStream& in, const std::string& fileName, const std::string& target, bool roundTrip) {
    if (in.IsSameFileAs(target))
        throw ETargetExists(fileName + " was not decrypted: the name stored in it is its own name, and decrypting "
                            "would replace it.");
    if (!roundTrip && FileExists(target)) RefuseExisting(fileName, target);
}

}  // namespace

bool IsSafeStoredName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (std::size_t i = 0; i < name.size();) {
        char32_t c = 0;
        if (!NextCodePoint(name, i, c) || c == '/' || c == '\\' || IsDeceptive(c)) return false;
    }
    return true;
}

void SetProgressPassCount(int count) { g_progressPassCount.store(count < 1 ? 1 : count); }
int ProgressPassCount() { return g_progressPassCount.load(); }

bool ProcessInChunks(TStream& in, TStream& out, std::int64_t start, const TCryptoCancelQuery& cancel,
                     const TCryptoProgressEvent& progress, const TStreamPartFunction& part) {
    using Clock = std::chrono::steady_clock;
    const std::int64_t total = in.Size() - start;
    if (total <= 0) return true;
    std::int64_t chunk = total < 100 ? 1 : total / 100;
    std::int64_t done = 0;
    while (done != total) {
        if (cancel && cancel()) return false;
        if (total - done < chunk) chunk = total - done;
        const auto begin = Clock::now();
        // A chunk above 4 GiB goes through in pieces that are whole multiples of the stream
        // buffer (and so of every block size): the chain, and with it the output, is the same
        // as for one call.
        for (std::int64_t left = chunk; left > 0;) {
            const auto piece = std::uint32_t(left > 0x80000000LL ? 0x80000000LL : left);
            if (part(in, out, piece) != piece) throw EStreamError("Stream read error");
            left -= piece;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        done += chunk;
        if (progress) progress(done, total, chunk / ProgressPassCount(), seconds);
    }
    return true;
}

TCryptoAlgorithm::TCryptoAlgorithm(std::unique_ptr<TVC_blockcipher> cipher, ByteString tag)
    : cipher_(std::move(cipher)), tag_(std::move(tag)) {}

TCryptoAlgorithm::~TCryptoAlgorithm() = default;

bool TCryptoAlgorithm::EncryptStream(TStream& in, TStream& out, const std::string& bareName,
                                     const ByteString& password, const TCryptoCancelQuery& cancel,
                                     const TCryptoProgressEvent& progress) {
    TVC_blockcipher& c = *cipher_;
    WipeOnExit wipe{c};
    c.InitFromPassword(password, &TVC_sha1::Create);
    out.Write(tag_.data(), tag_.size());
    std::uint32_t crc = 0;
    StringCrc32(bareName, crc);
    WriteLE32(out, crc);
    const ByteString nameText = c.EncryptText(Utf8Bytes(bareName));
    WriteLE32(out, std::uint32_t(nameText.size()));
    out.Write(nameText.data(), nameText.size());
    return ProcessInChunks(in, out, 0, cancel, progress,
                           [&c](TStream& i, TStream& o, std::uint32_t n) { return c.EncryptStreamPart(i, o, n); });
}

TCryptoResult TCryptoAlgorithm::EncryptFile(const std::string& fileName, const ByteString& password,
                                            const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                                            const TCryptoPasswordQuery& /*passwordQuery*/) {
    TFileStream in(fileName, TFileMode::Read);
    TAtomicOutput out(fileName + ".enc");
    if (!EncryptStream(in, out, BareName(fileName), password, cancel, progress)) return TCryptoResult::Cancelled;
    out.Commit();
    return TCryptoResult::Completed;
}

TCryptoResult TCryptoAlgorithm::DecryptFile(const std::string& fileName, const ByteString& password,
                                            const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                                            const TCryptoPasswordQuery& passwordQuery) {
    TVC_blockcipher& c = *cipher_;
    WipeOnExit wipe{c};
    TFileStream in(fileName, TFileMode::Read);
    std::uint8_t tag[3];
    in.ReadBuffer(tag, 3);
    const std::uint32_t storedCrc = ReadLE32Lenient(in);
    const auto nameLength = std::int32_t(ReadLE32Lenient(in));
    // A length beyond the file is damage, not a reason to allocate.
    if (nameLength < 0 || nameLength > in.Size() - in.Position()) throw EStreamError("Stream read error");
    ByteString nameText(static_cast<std::size_t>(nameLength));
    in.ReadBuffer(nameText.data(), nameText.size());

    ByteString pw = password;
    std::uint32_t crc = 0;
    std::string name;
    for (;;) {
        c.InitFromPassword(pw, &TVC_sha1::Create);
        const ByteString plain = c.DecryptText(nameText);
        name.assign(plain.begin(), plain.end());
        StringCrc32(name, crc);
        if (crc == storedCrc) break;
        SecureZero(name.data(), name.size());
        if (!passwordQuery || !passwordQuery(fileName, pw)) return TCryptoResult::GivenUp;
    }
    if (!IsSafeStoredName(name))
        throw EUnsafeStoredName("The name stored in " + fileName + " is not a plain file name; it was left alone.");

    // The ordinary round trip, "x.enc" back into "x", may replace an older "x"; any other
    // file of the stored name is the user's and stays.
    const std::string target = FolderOf(fileName) + name;
    const bool roundTrip = BareName(fileName) == name + ".enc";
    CheckTarget(in, fileName, target, roundTrip);
    TAtomicOutput out(target, in.Permissions());
    const bool completed =
        ProcessInChunks(in, out, in.Position(), cancel, progress,
                        [&c](TStream& i, TStream& o, std::uint32_t n) { return c.DecryptStreamPart(i, o, n); });
    if (!completed) return TCryptoResult::Cancelled;
    // Another program may have created the file meanwhile; it is kept then too.
    if (!out.Commit(roundTrip ? TReplaceMode::Replace : TReplaceMode::KeepExisting)) RefuseExisting(fileName, target);
    return TCryptoResult::Completed;
}

TAllAtOnceAlgorithm::TAllAtOnceAlgorithm() : TCryptoAlgorithm(nullptr, ByteString::FromAscii("ALL")) {}

TCryptoResult TAllAtOnceAlgorithm::EncryptFile(const std::string& fileName, const ByteString& password,
                                               const TCryptoCancelQuery& cancel,
                                               const TCryptoProgressEvent& progress,
                                               const TCryptoPasswordQuery& /*passwordQuery*/) {
    const int last = AlgorithmCount() - 2;
    for (int i = 0; i < last; ++i) {
        TFileStream in(fileName, TFileMode::Read);
        TNullStream discard;
        if (!AlgorithmAt(i).EncryptStream(in, discard, BareName(fileName), password, cancel, progress))
            return TCryptoResult::Cancelled;
    }
    TFileStream in(fileName, TFileMode::Read);
    TAtomicOutput out(fileName + ".enc");
    if (!AlgorithmAt(last).EncryptStream(in, out, BareName(fileName), password, cancel, progress))
        return TCryptoResult::Cancelled;
    out.Commit();
    return TCryptoResult::Completed;
}

TCryptoResult TAllAtOnceAlgorithm::DecryptFile(const std::string& fileName, const ByteString& password,
                                               const TCryptoCancelQuery& cancel,
                                               const TCryptoProgressEvent& progress,
                                               const TCryptoPasswordQuery& passwordQuery) {
    // One output at most, by the first entry whose key opens the stored name; trying the
    // others with the password query of each would ask for the password eighteen times.
    ByteString pw = password;
    for (;;) {
        for (int i = AlgorithmCount() - 2; i >= 0; --i) {
            const auto result = AlgorithmAt(i).DecryptFile(fileName, pw, cancel, progress, nullptr);
            if (result != TCryptoResult::GivenUp) return result;
        }
        if (!passwordQuery || !passwordQuery(fileName, pw)) return TCryptoResult::GivenUp;
    }
}

// ---------------------------------------------------------------------------------------
// The registry

namespace {

struct TAlgorithmRow {
    const char* tag;
    const char* boxText;
    std::unique_ptr<TVC_blockcipher> (*make)();
};

template <class C>
std::unique_ptr<TVC_blockcipher> Make() {
    return std::make_unique<C>();
}

// Positions are the algorithm box's indexes and never change.
#define VANTREL_ALGORITHM_ROW(cls, tag, boxText) {tag, boxText, &Make<cls>},
const TAlgorithmRow kAlgorithms[] = {VANTREL_FOR_EACH_CIPHER(VANTREL_ALGORITHM_ROW)};
#undef VANTREL_ALGORITHM_ROW
constexpr const char* kAllAtOnceBoxText = "All at once";

std::vector<std::unique_ptr<TCryptoAlgorithm>> g_algorithms;
std::unique_ptr<TIniFile> g_descriptions;

}  // namespace

void InitCryptoAlgorithms(int languageId) {
    g_algorithms.clear();
    g_descriptions =
        std::make_unique<TIniFile>(GetProgramFolder() + "cryptos" + std::to_string(languageId) + ".ini");
    for (const auto& row : kAlgorithms)
        g_algorithms.push_back(std::make_unique<TCryptoAlgorithm>(row.make(), ByteString::FromAscii(row.tag)));
    g_algorithms.push_back(std::make_unique<TAllAtOnceAlgorithm>());
    SetProgressPassCount(1);
}

void DoneCryptoAlgorithms() {
    g_algorithms.clear();
    g_descriptions.reset();
}

int AlgorithmCount() { return int(g_algorithms.size()); }

TCryptoAlgorithm& AlgorithmAt(int position) { return *g_algorithms.at(std::size_t(position)); }

std::string AlgorithmBoxText(int position) {
    if (position == int(std::size(kAlgorithms))) return kAllAtOnceBoxText;
    return kAlgorithms[std::size_t(position)].boxText;
}

TCryptoAlgorithm* FindAlgorithmByTag(const std::uint8_t* tag) {
    for (auto& a : g_algorithms)
        if (std::memcmp(a->Tag().data(), tag, 3) == 0) return a.get();
    return nullptr;
}

int AlgorithmPosition(const TCryptoAlgorithm& algorithm) {
    for (std::size_t i = 0; i < g_algorithms.size(); ++i)
        if (g_algorithms[i].get() == &algorithm) return int(i);
    return -1;
}

std::string GetAlgorithmDescription(const TCryptoAlgorithm& algorithm) {
    if (!g_descriptions) return {};
    return g_descriptions->ReadString("Algos", algorithm.Tag().View(), "");
}

}  // namespace vantrel
