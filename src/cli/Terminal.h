#pragma once

#include <optional>
#include <string>

namespace vantrel::cli {

// Whether a terminal can be asked (the controlling terminal opens).
bool HaveTerminal();
// Asks on the controlling terminal without echo; nothing when there is no terminal or the
// input ends.
std::optional<std::string> AskHidden(const std::string& prompt);
// The first line of a file without its line ending; nothing when it cannot be read.
std::optional<std::string> FirstLineOf(const std::string& path);
bool StderrIsTerminal();

}  // namespace vantrel::cli
