#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/SecureMemory.h"
#include "base/WorkerCallbacks.h"
#include "crypto/Cipher.h"

namespace vantrel {

class TStream;

// The worker's callbacks (base/WorkerCallbacks.h); here the chunk's processed bytes are
// divided by ProgressPassCount.

// How a file operation ended. Only Completed leaves an output file; the other outcomes leave
// no output and never touch an existing file of the output's name, so a caller deletes a
// source only after Completed.
enum class TCryptoResult {
    Completed,
    Cancelled,  // the cancel query said stop
    GivenUp     // decryption: the password query gave up on a password that does not fit
};

// Raised for a file that is refused rather than failed: it is left as it was, nothing is
// written, and the run goes on with the next file. The message is a sentence for the user
// that names the file.
class ERefusedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An .enc file whose stored name is not a bare file name: empty, "." or "..", holding a
// separator, a control or bidirectional formatting character, or not valid UTF-8.
class EUnsafeStoredName : public ERefusedFile {
public:
    using ERefusedFile::ERefusedFile;
};

// An .enc file whose stored name is taken by a file that decrypting must not replace: the
// .enc file itself, or any file but the .enc file's own name without ".enc".
class ETargetExists : public ERefusedFile {
public:
    using ERefusedFile::ERefusedFile;
};

// Whether a name read from an .enc file may name a file in the .enc file's folder.
bool IsSafeStoredName(const std::string& name);

// Process-wide divisor of the processed amounts reported: 18 while an all-at-once
// encryption runs, 1 otherwise. Written before a worker starts, read by it.
void SetProgressPassCount(int count);
int ProgressPassCount();

// One selectable algorithm: a three-letter tag and its cipher, writing and reading the .enc
// layout:
//   tag (3 bytes) | CRC-32 of the UTF-16LE name (u32 LE) | N (s32 LE) | N bytes of name text |
//   body (exactly the source's bytes)
// The name text is the Base64 of the 8-bit CFB encryption of the UTF-8 bare name, from the
// IV E(0) of the key SHA-1(password); the body's CBC chain continues from there, cut into
// chunks of total/100 bytes (one byte each below 100), which decides the ciphertext.
class TCryptoAlgorithm {
public:
    TCryptoAlgorithm(std::unique_ptr<TVC_blockcipher> cipher, ByteString tag);
    virtual ~TCryptoAlgorithm();
    TCryptoAlgorithm(const TCryptoAlgorithm&) = delete;
    TCryptoAlgorithm& operator=(const TCryptoAlgorithm&) = delete;

    // Writes fileName + ".enc".
    virtual TCryptoResult EncryptFile(const std::string& fileName, const ByteString& password,
                                      const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                                      const TCryptoPasswordQuery& passwordQuery);
    // Writes the stored name into the .enc file's folder. It replaces an existing file only
    // when that file's name is the .enc file's own name without ".enc" (the round trip), and
    // never the .enc file itself; otherwise it raises ETargetExists. The output gets the
    // permissions of a new file of the user's, never wider than the .enc file's.
    virtual TCryptoResult DecryptFile(const std::string& fileName, const ByteString& password,
                                      const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                                      const TCryptoPasswordQuery& passwordQuery);

    TVC_blockcipher* Cipher() const { return cipher_.get(); }
    const ByteString& Tag() const { return tag_; }

    // The stream form of EncryptFile: header and body of the source `in`, named bareName.
    // False when cancelled.
    bool EncryptStream(TStream& in, TStream& out, const std::string& bareName, const ByteString& password,
                       const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress);

private:
    std::unique_ptr<TVC_blockcipher> cipher_;
    ByteString tag_;
};

// Cuts the rest of `in` (from `start`) into chunks and runs `part` over each; false when
// the cancel query stopped it.
using TStreamPartFunction = std::function<std::uint32_t(TStream& in, TStream& out, std::uint32_t size)>;
bool ProcessInChunks(TStream& in, TStream& out, std::int64_t start, const TCryptoCancelQuery& cancel,
                     const TCryptoProgressEvent& progress, const TStreamPartFunction& part);

// The last registry entry, "ALL": every single-cipher entry in registry order over the same
// file. Only the last pass (Twofish) leaves a file, the same one Twofish alone gives; the
// passes before it run into nothing, so a cancel or an error anywhere leaves no output.
// A file tagged "ALL" (the program writes none) is decrypted by the first entry, from the
// last to the first, whose key opens its stored name; the password query is asked only
// when none does.
class TAllAtOnceAlgorithm : public TCryptoAlgorithm {
public:
    TAllAtOnceAlgorithm();
    TCryptoResult EncryptFile(const std::string& fileName, const ByteString& password,
                              const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                              const TCryptoPasswordQuery& passwordQuery) override;
    TCryptoResult DecryptFile(const std::string& fileName, const ByteString& password,
                              const TCryptoCancelQuery& cancel, const TCryptoProgressEvent& progress,
                              const TCryptoPasswordQuery& passwordQuery) override;
};

// The registry: nineteen entries at fixed positions (the algorithm box's indexes), with the
// descriptions of the language languageId (see LanguageSetting).
void InitCryptoAlgorithms(int languageId);
void DoneCryptoAlgorithms();
int AlgorithmCount();
TCryptoAlgorithm& AlgorithmAt(int position);
// The box text the main window shows for a position ("Blowfish", ..., "All at once").
std::string AlgorithmBoxText(int position);
// First entry whose tag equals the three bytes, byte for byte; nullptr when none does.
TCryptoAlgorithm* FindAlgorithmByTag(const std::uint8_t* tag);
int AlgorithmPosition(const TCryptoAlgorithm& algorithm);
// The description in "cryptos<LanguageID>.ini" beside the program, section "Algos".
std::string GetAlgorithmDescription(const TCryptoAlgorithm& algorithm);

}  // namespace vantrel
