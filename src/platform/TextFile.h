#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The lines of a text file, each followed by CR LF (the last one included), as UTF-8. The
// encoding is taken from a byte-order mark (UTF-8, UTF-16 LE or BE); without one the bytes
// are in the system's ANSI code page. A line ends at CR LF, LF or CR. Both the password
// field's "..." button and vantrel-cli's --key-file read passwords through this, so a file
// gives the same password in both. Throws EFileError when the file cannot be read.
std::string ReadLinesWithCrLf(const std::string& path);

// The same on bytes already read.
std::string DecodeLinesWithCrLf(const std::string& bytes);

// A text file's bytes as UTF-8: the encoding from a byte-order mark (UTF-8, UTF-16 LE or BE),
// without one the system's ANSI code page. The list file and the password files read this way.
std::string DecodeText(std::string_view bytes);

// A whole file's bytes; throws EFileError when it cannot be read.
std::string ReadFileBytes(const std::string& path);

}  // namespace vantrel
