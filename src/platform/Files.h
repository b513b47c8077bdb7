#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace vantrel {

// A file that could not be opened, created, read or written; the message names the file.
class EFileError : public std::runtime_error {
public:
    EFileError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

enum class TFileMode {
    Read,               // existing file, read only
    ReadWriteExclusive  // existing file, read and write, with an exclusive advisory lock
};

// A file on disk as a stream. Writes take every byte or throw (a full disk is an error).
// A file opened for reading only is read ahead in large blocks, so the small reads of the
// cipher's stream buffer cost no system call each.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& path, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return pos_; }
    std::int64_t Size() const override;

    void Seek(std::int64_t pos);
    void Sync();  // data reaches the disk before this returns
    // Asks the system to start writing the range to the disk now, without waiting, so that a
    // Sync at the end has little left to wait for.
    void StartWriteback(std::int64_t from, std::int64_t count);
    const std::string& Path() const { return path_; }

protected:
    TFileStream(std::string path, int fd, std::string shownPath)
        : fd_(fd), path_(std::move(path)), shownPath_(std::move(shownPath)) {}
    void WriteThrough(const void* buffer, std::size_t count);
    int fd_ = -1;

private:
    std::size_t ReadThrough(void* buffer, std::size_t count);

    std::string path_;
    std::string shownPath_;  // the name errors give: a temporary file is named by its target
    std::int64_t pos_ = 0;
    std::vector<std::uint8_t> readAhead_;  // only for files opened to read
    std::size_t readAt_ = 0, readEnd_ = 0;
};

// The output of an operation, complete or nothing: bytes go to a temporary file beside the
// target, and only Commit (after the last byte, flushed) renames it over the target. An
// output that is destroyed uncommitted removes its temporary file and leaves any existing
// file of the target's name as it was.
// Writes are gathered into large blocks, and finished blocks are handed to the disk while
// the rest is still being produced.
class TAtomicOutput : public TFileStream {
public:
    explicit TAtomicOutput(const std::string& target);
    ~TAtomicOutput() override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return TFileStream::Position() + std::int64_t(pending_.size()); }
    std::int64_t Size() const override { return TFileStream::Size() + std::int64_t(pending_.size()); }
    void Commit();
    const std::string& Target() const { return target_; }

private:
    TAtomicOutput(const std::string& target, std::pair<std::string, int> temp);
    void Flush();
    std::string target_;
    std::vector<std::uint8_t> pending_;
    std::int64_t writtenBack_ = 0;  // bytes already handed to writeback
    bool committed_ = false;
};

struct TDirEntry {
    std::string name;
    bool isDirectory = false;  // a real directory, not a link to one
    bool isSymlink = false;
};

bool FileExists(const std::string& path);       // anything at the path, links not followed
bool DirectoryExists(const std::string& path);  // a directory, links followed
std::int64_t FileSizeOf(const std::string& path);  // -1 when it cannot be read
// Entries of a folder other than "." and "..", in name order; throws EFileError.
std::vector<TDirEntry> ListDirectory(const std::string& path);
void DeleteFileOrThrow(const std::string& path);
// Joins a folder and a name without doubling the separator.
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);  // with its trailing separator
std::string BareName(const std::string& path);  // what follows the last separator
constexpr char kPathSeparator = '/';

}  // namespace vantrel
