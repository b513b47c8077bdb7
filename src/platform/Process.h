#pragma once

#include <string>
#include <vector>

namespace vantrel {

// Starts a program with its arguments and does not wait for it: a new session without a
// terminal, input from /dev/null, the rest of the environment inherited. False when it could not
// be started. A detached thread collects the child's end, so none is left as a zombie.
bool StartProcessDetached(const std::string& program, const std::vector<std::string>& arguments);

// The same, the program looked up in PATH; for optional helpers such as notify-send.
bool StartProcessDetachedFromPath(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vantrel
