#include "cli/Terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "base/SecureMemory.h"

namespace vantrel::cli {

bool HaveTerminal() {
    int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::optional<std::string> AskHidden(const std::string& prompt) {
    int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    (void)!::write(fd, prompt.data(), prompt.size());
    termios old{};
    const bool isTty = ::tcgetattr(fd, &old) == 0;
    if (isTty) {
        termios quiet = old;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    std::string line;
    char c;
    bool gotAny = false;
    while (::read(fd, &c, 1) == 1) {
        gotAny = true;
        if (c == '\n') break;
        line += c;
    }
    if (isTty) ::tcsetattr(fd, TCSAFLUSH, &old);
    ::close(fd);
    if (!gotAny) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> FirstLineOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace vantrel::cli
