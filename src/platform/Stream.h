#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel {

// Raised by a stream for a short read where whole data was required ("Stream read error"),
// a write that did not take every byte ("Stream write error"), or an I/O failure.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A byte stream with a position. Read may return fewer bytes than asked for (0 at the end);
// Write either takes every byte or throws, so a full disk can never pass as success.
class TStream {
public:
    virtual ~TStream() = default;
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual void Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;

    // Reads exactly count bytes or throws "Stream read error".
    void ReadBuffer(void* buffer, std::size_t count);
};

// An in-memory stream; tests also use it with a write limit to stand for a full disk.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> data) : data_(std::move(data)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return std::int64_t(pos_); }
    std::int64_t Size() const override { return std::int64_t(data_.size()); }

    void Seek(std::size_t pos) { pos_ = pos; }
    void SetWriteLimit(std::size_t limit) { writeLimit_ = limit; }
    const std::vector<std::uint8_t>& Data() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::size_t writeLimit_ = SIZE_MAX;
};

// Takes every write and keeps nothing; counts what went through.
class TNullStream : public TStream {
public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void*, std::size_t count) override { size_ += std::int64_t(count); }
    std::int64_t Position() const override { return size_; }
    std::int64_t Size() const override { return size_; }

private:
    std::int64_t size_ = 0;
};

}  // namespace vantrel
