#include "app/CmdLineActivate.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/AppFolders.h"
#include "platform/TextFile.h"

namespace vantrel {

namespace {

std::optional<std::vector<std::string>> givenArguments;
std::vector<std::string> cmdLineFiles;
std::atomic<bool> activatedFromCommandLine{false};

std::vector<std::string> OwnCommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    std::string argument;
    bool first = true;
    while (std::getline(in, argument, '\0')) {
        if (!first) arguments.push_back(argument);
        first = false;
    }
    return arguments;
}

void AddLine(std::vector<std::string>& lines, std::string_view line) {
    if (line.empty() || line.find('\0') != std::string_view::npos) return;
    lines.emplace_back(line);
}

}  // namespace

std::vector<std::string> ProgramArguments() { return givenArguments ? *givenArguments : OwnCommandLine(); }

void SetProgramArguments(std::vector<std::string> arguments) { givenArguments = std::move(arguments); }

void ResetProgramArguments() { givenArguments.reset(); }

std::string CmdLineListFile() { return GetDataFolder() + "todo"; }

std::vector<std::string> ParseCommandLineList(std::string_view bytes) {
    const std::string text = DecodeText(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        AddLine(lines, std::string_view(text).substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    AddLine(lines, std::string_view(text).substr(start));
    return lines;
}

std::vector<std::string>& CmdLineFiles() { return cmdLineFiles; }

void InitCmdLineFiles() { cmdLineFiles.clear(); }

void DoneCmdLineFiles() {
    cmdLineFiles.clear();
    cmdLineFiles.shrink_to_fit();
}

std::vector<std::string> TakeCmdLineFiles() {
    std::vector<std::string> taken;
    taken.swap(cmdLineFiles);
    return taken;
}

void ClearCmdLineFiles() { cmdLineFiles.clear(); }

void LoadCommandLineFiles() {
    std::vector<std::string> loaded = ParseCommandLineList(ReadFileBytes(CmdLineListFile()));
    loaded.insert(loaded.end(), std::make_move_iterator(cmdLineFiles.begin()),
                  std::make_move_iterator(cmdLineFiles.end()));
    cmdLineFiles = std::move(loaded);
}

bool IsActivatedFromCommandLine() { return activatedFromCommandLine.load(); }

void SetActivatedFromCommandLine(bool activated) { activatedFromCommandLine.store(activated); }

}  // namespace vantrel
