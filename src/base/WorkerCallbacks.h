#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/SecureMemory.h"

namespace vantrel {

// The callbacks of the worker that runs an operation, shared by encryption and wiping.
// The cancel query is asked before every chunk (true: stop). The progress event gets the
// bytes of the file done before the chunk, the bytes the file's work comes to, the chunk's
// share of the file's size and the chunk's seconds. The password query gets the .enc file's
// name and the password variable (true: try the new value).
using TCryptoCancelQuery = std::function<bool()>;
using TCryptoProgressEvent =
    std::function<void(std::int64_t done, std::int64_t total, std::int64_t processed, double seconds)>;
using TCryptoPasswordQuery = std::function<bool(const std::string& fileName, ByteString& password)>;

}  // namespace vantrel
