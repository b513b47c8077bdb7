#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace vantrel {

// The user's settings in the section "Options" of options.ini. Open one for a task and drop
// it: nothing is cached, every read sees the file as it is on disk now. Reads never fail
// (any error gives the default); WriteBool raises EProfileError "Unable to write to <file>".
class TOptions {
public:
    // An empty FileName means the data folder's "options.ini". Opening does not touch the disk.
    explicit TOptions(const std::string& FileName = "");

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view Key, std::string_view Default) const;
    // "0x"/"0X" followed by hex digits, or a decimal number with an optional sign.
    int ReadInteger(std::string_view Key, int Default) const;
    // True for any integer other than 0.
    bool ReadBool(std::string_view Key, bool Default) const;
    void WriteBool(std::string_view Key, bool Value);

private:
    std::string fileName_;  // the profile file; every call opens it anew
};

// The text as a 32-bit integer by the rules of TOptions::ReadInteger; throws EConvertError.
int StrToInt(std::string_view text);

class EConvertError : public std::exception {
public:
    explicit EConvertError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace vantrel
