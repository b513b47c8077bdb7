#include "app/Logger.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include "app/AppFolders.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vantrel {

namespace {

constexpr const char* kStackTop = "STACK TOP-----------------------------------------------";
constexpr const char* kStackBottom = "STACK BOTTOM--------------------------------------------";
constexpr std::size_t kMaxReportChars = 1024;

std::atomic<bool> debugEnabled{false};
std::atomic<TLineWriter> lineWriter{nullptr};
std::mutex stateLock;  // guards logFileName
std::string logFileName;
std::mutex writeLock;  // one line at a time into the file

std::vector<std::string> OwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start < all.size()) {
        auto end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    if (!args.empty()) args.erase(args.begin());
    return args;
}

void FileWriter(const std::string& text) {
    const std::string file = LogFileName();
    std::string line;
    line.reserve(text.size() + 2);
    for (char c : text) {
        if (c == '\n' && (line.empty() || line.back() != '\r')) line += '\r';
        line += c;
    }
    line += "\r\n";
    const ByteString bytes = Utf8ToAnsi(line);

    int error = 0;
    {
        std::lock_guard lock(writeLock);
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            error = errno;
        } else {
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    error = n < 0 ? errno : EIO;
                    break;
                }
                done += std::size_t(n);
            }
            if (::close(fd) != 0 && !error) error = errno;
        }
    }
    // Raised outside the lock: the exception report of this very error writes a line too.
    if (error) throw EFileError("Cannot write to the log file " + file + ": " + std::strerror(error), error);
}

// Cuts a UTF-8 text after `limit` characters.
std::string CutChars(const std::string& s, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (chars++ == limit) return s.substr(0, i);
    }
    return s;
}

}  // namespace

void InitLogger(const std::string& Switch) { InitLogger(Switch, OwnArguments()); }

void InitLogger(const std::string& Switch, const std::vector<std::string>& arguments) {
    lineWriter.store(&FileWriter);
    std::string exe = ExecutablePath();
    exe = exe.substr(exe.rfind('/') + 1);
    {
        std::lock_guard lock(stateLock);
        logFileName = GetDataFolder() + exe + ".log";
    }
    bool on = false;
    for (const auto& a : arguments) on = on || a == Switch;
    debugEnabled.store(on);
}

void InstallExceptionReport() { SetExceptionSink(&ReportException, &DebugEnabled); }

bool DebugEnabled() { return debugEnabled.load(); }

std::string LogFileName() {
    std::lock_guard lock(stateLock);
    return logFileName;
}

void SetLineWriter(TLineWriter writer) { lineWriter.store(writer); }

void LogLine(const std::string& text) {
    if (!debugEnabled.load()) return;
    const TLineWriter w = lineWriter.load();
    (w ? w : &FileWriter)(text);
}

void Log(const std::string& message, const std::string& location) {
    if (!debugEnabled.load()) return;
    LogLine(FormatLogTimeStamp(LocalTimeNow()) + " " + location + ": " + message);
}

std::string FormatLogTimeStamp(const TLocalTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d.%d.%02d %02d:%02d:%02d:%03d", t.day, t.month, t.year % 100, t.hour,
                  t.minute, t.second, t.millisecond);
    return buffer;
}

std::string ExceptionReportText(const TRaisedException& e) {
    const TStackFrame at = NameFrame(e.raiseAddress);
    char offset[32];
    std::snprintf(offset, sizeof offset, "%08" PRIxPTR, at.moduleOffset);
    std::string text = "Exception " + e.typeName + " in module " + (at.module.empty() ? "?" : at.module) + " at " +
                       offset + ".";
    if (!e.message.empty()) {
        text += '\n';
        text += e.message;
    }
    return CutChars(text, kMaxReportChars);
}

void ReportException(const TRaisedException& e) {
    if (!debugEnabled.load()) return;
    // Appended piece by piece: GCC 12 warns falsely about "\n" + a temporary string.
    std::string text = "\nTime: ";
    text += FormatLogTimeStamp(LocalTimeNow());
    text += '\n';
    text += ExceptionReportText(e);
    text += '\n';
    text += kStackTop;
    for (void* address : e.stack) {
        text += '\n';
        text += FormatFrame(NameFrame(address));
    }
    text += '\n';
    text += kStackBottom;
    LogLine(text);
}

}  // namespace vantrel
