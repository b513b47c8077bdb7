#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace vantrel {

// Fills memory in a way the optimiser may not drop, even right before the memory is freed.
void SecureFill(void* data, std::size_t size, std::uint8_t value);
inline void SecureZero(void* data, std::size_t size) { SecureFill(data, size, 0); }

// An allocator that wipes every block before handing it back, so that key material in a
// container never survives a reallocation or the container's end.
template <class T>
struct WipingAllocator {
    using value_type = T;
    WipingAllocator() noexcept = default;
    template <class U>
    WipingAllocator(const WipingAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return std::allocator<T>{}.allocate(n); }
    void deallocate(T* p, std::size_t n) noexcept {
        SecureZero(p, n * sizeof(T));
        std::allocator<T>{}.deallocate(p, n);
    }
    template <class U>
    bool operator==(const WipingAllocator<U>&) const noexcept { return true; }
};

// Bytes, as distinct from text: passwords in their code page, tags, Base64 texts, digests.
// A typed password only becomes one through the code-page conversion, never by accident.
class ByteString : public std::vector<std::uint8_t, WipingAllocator<std::uint8_t>> {
public:
    using Base = std::vector<std::uint8_t, WipingAllocator<std::uint8_t>>;
    using Base::Base;

    // For ASCII-only literals (tags, test vectors); never for user text.
    static ByteString FromAscii(std::string_view text) {
        return ByteString(text.begin(), text.end());
    }
    std::string_view View() const {
        return {reinterpret_cast<const char*>(data()), size()};
    }
};

// A fixed table of key material that wipes itself when it goes away.
template <class T, std::size_t N>
struct KeyTable {
    T v[N]{};
    ~KeyTable() { SecureZero(v, sizeof v); }
    void Fill(std::uint8_t byte) { SecureFill(v, sizeof v, byte); }
    T& operator[](std::size_t i) { return v[i]; }
    const T& operator[](std::size_t i) const { return v[i]; }
    static constexpr std::size_t size() { return N; }
};

}  // namespace vantrel
