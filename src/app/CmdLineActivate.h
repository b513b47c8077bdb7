#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Command-line activation, engine side: the program's arguments, the list file "todo" that the
// context-menu hand-over writes into the data folder, the paths read from it (CmdLineFiles) and
// the flag that remembers that a wizard was opened from the command line.
//
// Everything here but IsActivatedFromCommandLine belongs to the GUI thread; the flag may be
// read from any thread (a worker's finish looks at it).

// The program's arguments, its own path excluded, in order: the process's command line, unless
// SetProgramArguments replaced them.
std::vector<std::string> ProgramArguments();
// Replaces the arguments the program looks at (the main routine may hand over argv; tests).
void SetProgramArguments(std::vector<std::string> arguments);
// Back to the process's own command line.
void ResetProgramArguments();

// The data folder followed by "todo".
std::string CmdLineListFile();

// Splits the bytes of a list file into paths. A byte-order mark gives the encoding (UTF-8,
// UTF-16LE, UTF-16BE); without one the bytes are text in the system's ANSI code page. Lines end
// with CR LF, LF or CR. After a UTF-8 mark the bytes of a line are kept as they are, so a file
// name that is not valid UTF-8 survives. Empty lines, and lines holding a NUL character (no file
// name can, and the system would cut the name there), are left out.
std::vector<std::string> ParseCommandLineList(std::string_view bytes);

// The paths handed over by the command line. Empty after InitCmdLineFiles (start-up) and after
// DoneCmdLineFiles (shutdown).
std::vector<std::string>& CmdLineFiles();
void InitCmdLineFiles();
void DoneCmdLineFiles();
// Hands the paths to the run they were loaded for and empties the list, so that no later run
// takes them again: StartOperation(..., TakeCmdLineFiles(), ...).
std::vector<std::string> TakeCmdLineFiles();
// Drops the paths (a wizard ended without a run).
void ClearCmdLineFiles();

// Reads the list file into CmdLineFiles: the file's lines first, the entries held before after
// them. A file that cannot be read raises EFileError and leaves CmdLineFiles as it was.
void LoadCommandLineFiles();

// False at start; set once a wizard has been activated from the command line, never cleared by
// the program (the setter takes false only for tests).
bool IsActivatedFromCommandLine();
void SetActivatedFromCommandLine(bool activated = true);

}  // namespace vantrel
