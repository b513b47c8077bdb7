#include "platform/TextFile.h"

#include "base/SecureMemory.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vantrel {

namespace {

std::u16string Utf16Of(std::string_view bytes, std::size_t from, bool bigEndian) {
    std::u16string text;
    text.reserve((bytes.size() - from) / 2);
    for (std::size_t i = from; i + 1 < bytes.size(); i += 2) {
        const auto a = std::uint8_t(bytes[i]), b = std::uint8_t(bytes[i + 1]);
        text.push_back(char16_t(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return text;
}

}  // namespace

std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return Utf16ToUtf8(Utf16Of(bytes, 2, false));
    if (bytes.starts_with("\xFE\xFF")) return Utf16ToUtf8(Utf16Of(bytes, 2, true));
    return AnsiToUtf8(ByteString(bytes.begin(), bytes.end()), SystemAnsiCodePage());
}

std::string ReadFileBytes(const std::string& path) {
    TFileStream file(path, TFileMode::Read);
    std::string bytes(std::size_t(file.Size()), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::size_t n = file.Read(bytes.data() + got, bytes.size() - got);
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

std::string DecodeLinesWithCrLf(const std::string& bytes) {
    const std::string text = DecodeText(bytes);
    std::string joined;
    joined.reserve(text.size() + 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            joined.append(text, i, std::string::npos).append("\r\n");
            break;
        }
        joined.append(text, i, end - i).append("\r\n");
        i = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return joined;
}

std::string ReadLinesWithCrLf(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    std::string text = DecodeLinesWithCrLf(bytes);
    SecureZero(bytes.data(), bytes.size());
    return text;
}

}  // namespace vantrel
