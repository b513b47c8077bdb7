#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/WorkerCallbacks.h"
#include "shred/CharGenerators.h"

namespace vantrel {

// The worker's callbacks (base/WorkerCallbacks.h): for a wipe, done and total count the bytes
// of all the file's passes.

// The generators of one file's passes, first pass first; each serves exactly one pass.
using TPassList = std::vector<std::unique_ptr<TCharGenerator>>;

// Overwrites the whole file in place once per pass, flushing every pass to the disk before
// the next, and deletes it. True when the file was wiped completely and is gone; false when
// the cancel query stopped it (the file stays, partly overwritten) or the deletion failed.
// A symbolic link is removed without touching what it points to. Open, read and write
// failures (a missing file, one locked by another program) raise EFileError; the pass list
// is released on every way out.
bool WipeFile(const std::string& fileName, TPassList passes, const TCryptoCancelQuery& cancel,
              const TCryptoProgressEvent& progress);

// Bytes per chunk: one read (when the pass needs it), one write and one cancel query each.
constexpr std::int64_t kWipeChunkSize = 65536;

// A wiping scheme. Schemes hold no state; each builds a fresh pass list for every file, so
// the random characters of a file are drawn in pass order before its first pass.
class TShredAlgorithm {
public:
    virtual ~TShredAlgorithm() = default;
    virtual bool ShredFile(const std::string& fileName, const TCryptoCancelQuery& cancel,
                           const TCryptoProgressEvent& progress) const;
    // The key of the scheme's description, e.g. "TGUTMANN".
    virtual const char* ClassName() const = 0;
    virtual TPassList CreatePasses() const = 0;
};

#define VANTREL_SHRED_SCHEME(Name)                               \
    class Name : public TShredAlgorithm {                        \
    public:                                                      \
        const char* ClassName() const override { return #Name; } \
        TPassList CreatePasses() const override;                 \
    };

VANTREL_SHRED_SCHEME(TZeroPass)
VANTREL_SHRED_SCHEME(TRandPass)
VANTREL_SHRED_SCHEME(TAntiSoftRecover)
VANTREL_SHRED_SCHEME(TNAVSOMF)
VANTREL_SHRED_SCHEME(TNAVSORL)
VANTREL_SHRED_SCHEME(TVSITR)
VANTREL_SHRED_SCHEME(TGOST)
VANTREL_SHRED_SCHEME(TSchneier)
VANTREL_SHRED_SCHEME(TDOD)
VANTREL_SHRED_SCHEME(TBEYNDDOD)
VANTREL_SHRED_SCHEME(TGUTMANN)

#undef VANTREL_SHRED_SCHEME

// The schemes in their fixed order; a scheme's position is its number everywhere (combo
// box index, wizard setting). Filled by InitShredAlgorithms, emptied by DoneShredAlgorithms.
using TShredAlgorithmList = std::vector<std::unique_ptr<TShredAlgorithm>>;
extern TShredAlgorithmList ShredAlgorithmList;

// Builds the list and opens "shreds" + languageId + ".ini" from the program folder.
void InitShredAlgorithms(int languageId);
// The same with the descriptions file named.
void InitShredAlgorithms(const std::string& descriptionsFile);
void DoneShredAlgorithms();
// Section "Algos", key = the scheme's class name; empty when the file has none.
std::string GetShredDescription(const TShredAlgorithm& scheme);
// The main window's default text for the scheme at a position ("Quick shred by filling with
// zero's", ...).
std::string ShredAlgorithmBoxText(int position);

}  // namespace vantrel
