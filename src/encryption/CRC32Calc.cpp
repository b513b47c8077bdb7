#include "encryption/CRC32Calc.h"

#include <array>
#include <vector>

#include "base/Bytes.h"
#include "platform/CodePage.h"

namespace vantrel {

namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool StringCrc32(std::string_view text, std::uint32_t& checksum) {
    if (text.empty()) return false;
    const std::u16string utf16 = Utf8ToUtf16(text);
    std::vector<std::uint8_t> le(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) bytes::StoreLE16(le.data() + 2 * i, utf16[i]);
    checksum = Crc32Update(0, le.data(), le.size());
    return true;
}

}  // namespace vantrel
