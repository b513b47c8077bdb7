#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Puts Vantrel's entries (Encrypt, Decrypt, Shred, Hide) into the context menus of the
// desktop's file managers for the current user, or takes them out again. Every entry calls the
// program folder's "vantrel-context-menu" with its switch and the selected paths:
//   Nautilus  $XDG_DATA_HOME/nautilus/scripts/         executable scripts
//   Caja      $XDG_CONFIG_HOME/caja/scripts/            the same
//   Nemo      $XDG_DATA_HOME/nemo/actions/              .nemo_action files
//   Dolphin   $XDG_DATA_HOME/kio/servicemenus/          one executable service menu, local files only
//   Thunar    $XDG_CONFIG_HOME/Thunar/uca.xml           actions merged in, the user's kept
//   PCManFM, PCManFM-Qt, caja-actions
//             $XDG_DATA_HOME/file-manager/actions/      freedesktop file-manager actions
// With "CascadeContextMenu" on, the entries sit in a "Vantrel" submenu where the file manager
// has one (Nemo has none). Our files carry the line "X-Vantrel-Entry=true" (a comment in the
// scripts) and our Thunar actions a unique-id beginning with "vantrel-"; removal takes exactly
// those, whatever language or layout they were written in. Folders that activation had to
// create are recorded in the registry and removed again when they are empty.

// The program that the entries call: set by start-up to the program folder followed by
// "vantrel-context-menu".
void SetContextMenuHelperPath(std::string path);
std::string ContextMenuHelperPath();

// Writes the entries (removing any earlier set first, so that activating twice leaves one set),
// then asks the application to quit. A folder or file that cannot be written raises
// EFileError; a Thunar uca.xml that is not an action list is left untouched and reported the
// same way after the other file managers got their entries.
void ActivateContextMenu();
// Removes the entries; anything missing or not removable is passed over silently. Then asks
// the application to quit.
void DeactivateContextMenu();

// Start-up: the helper path becomes the program folder's "vantrel-context-menu"; then each
// argument in turn: "/activate" runs ActivateContextMenu, "/deactivate" DeactivateContextMenu
// (exact, case-sensitive, the program path not among the arguments).
void CheckContextMenuSwitches(const std::vector<std::string>& arguments);

// The quit request of the two switches; the main routine ends the event loop as soon as it
// runs when one is pending.
bool IsQuitRequested();
void RequestQuit();
void ClearQuitRequest();  // tests

// What a Thunar uca.xml holds, as far as the merge needs it: where each child element of
// <actions> begins and ends, the unique-id of each <action>, and where the closing tag of
// <actions> begins. Nothing for text that is not such a document.
struct TUcaChild {
    std::size_t Begin = 0, End = 0;  // [Begin, End) covers the element from '<' to '>'
    bool IsAction = false;
    std::string UniqueId;            // entities decoded, blanks trimmed
};
struct TUcaDocument {
    std::vector<TUcaChild> Children;
    std::size_t RootClose = 0;       // offset of "</actions>", or of "/>" of an empty <actions/>
    bool RootSelfClosed = false;
};
std::optional<TUcaDocument> ScanUcaXml(std::string_view text);

// The uca.xml text with our actions taken out and, when given, `ours` (whole <action>
// elements, each on its own lines) put in before the closing tag. Nothing for text that is not
// an action list.
std::optional<std::string> MergeUcaXml(std::string_view text, std::string_view ours);

// Quoting for the command lines the entries carry.
std::string ShellQuote(std::string_view argument);         // POSIX sh single quotes
std::string DesktopExecQuote(std::string_view argument);   // desktop entry Exec rules, before key-file escaping
std::string KeyFileEscape(std::string_view value);         // \\, \n, \t, \r, leading blank as \s
std::string XmlEscape(std::string_view text);

}  // namespace vantrel
