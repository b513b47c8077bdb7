#pragma once

#include <string>

#include "base/SecureMemory.h"

namespace vantrel {

class TFilesIterationThread;

// What the worker needs of the window (or terminal) that runs it. Each call is synchronous:
// the worker waits until it returns.
class IOperationHost {
public:
    virtual ~IOperationHost() = default;
    // The password dialog for a file the password does not open; true when closed with OK,
    // with the typed text converted to the code page in `password`.
    virtual bool AskPassword(const std::string& promptFileName, ByteString& password) = 0;
    // A modal message, e.g. a file without a known tag.
    virtual void ShowMessage(const std::string& text) = 0;
    // The run went through its whole list: end the wizard and show the finish page.
    virtual void Finish(TFilesIterationThread& worker) = 0;
    // Close the progress window of this run (once, on cancel or at the end).
    virtual void Release() = 0;
};

}  // namespace vantrel
