#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The file managers' side of the hand-over, run as "vantrel-context-menu":
//   vantrel-context-menu [--uris] /encrypt|/decrypt|/shred|/hide ITEM...
// Each ITEM is a path (a relative one is taken from the working folder, as Nautilus and Caja
// pass them) or, after --uris, a file:// URI. The paths go into the data folder's list file
// "todo" (UTF-8 with a byte-order mark, one path a line, replaced atomically); then the program
// named by "AppPath" in registry.ini is started, detached, with the one switch.

// A selection that is refused as a whole; nothing is written and nothing started.
class EHandOverRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The absolute paths of the items. Refuses a path holding a line break (one line of the list
// cannot carry it, and its two halves could name other files), a URI that is not a local file
// (also one passed as a plain item, as file managers do for remote files), and a URI whose
// decoding holds a NUL.
std::vector<std::string> HandOverPaths(const std::vector<std::string>& items, bool uris, const std::string& cwd);

// The list file's content for these paths.
std::string HandOverListText(const std::vector<std::string>& paths);

// Starts a program with its arguments without waiting for it; false when it could not start.
using TProgramStarter = std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;
// A new session, input from /dev/null, never waited for.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// The whole run; arguments without the program's own path. Returns the exit code. Refusals and
// errors go to stderr and, where "notify-send" exists, to a desktop notification (through
// `notify`, which is handed the text).
int RunContextMenuHandOver(const std::vector<std::string>& arguments, const TProgramStarter& start = StartDetached,
                           const std::function<void(const std::string&)>& notify = {});

}  // namespace vantrel
