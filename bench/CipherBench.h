#pragma once

// Throughput of one cipher in CBC through EncryptBuffer, 8192 bytes per call, beside the same
// cipher of libcrypto++ in the same run. Each benchmark reports bytes per second; the ratio
// ours/reference is the figure that counts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "crypto/Cipher.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/modes.h>
#endif

namespace vantrel::bench {

constexpr std::size_t kCallSize = 8192;

template <class Cipher>
void OursCbc(benchmark::State& state) {
    Cipher c;
    std::vector<std::uint8_t> key(std::size_t(std::min(c.ClassMaxKeySize(), 160) / 8), 0x3C);
    c.SetKey(key.data(), std::uint32_t(key.size() * 8));
    std::vector<std::uint8_t> buf(kCallSize, 0xA5);
    for (auto _ : state) {
        c.EncryptBuffer(buf.data(), buf.data(), kCallSize);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kCallSize));
}

#ifdef VANTREL_HAVE_CRYPTOPP
// keyBytes: the key length the reference is given (ours uses the program's 160-bit rule,
// which the reference may not accept; the per-block cost does not depend on it except
// where rounds follow the key length, and there the same length is used on both sides).
template <class RefCipher>
void ReferenceCbc(benchmark::State& state, std::size_t keyBytes) {
    std::vector<std::uint8_t> key(keyBytes, 0x3C);
    std::vector<std::uint8_t> iv(RefCipher::BLOCKSIZE, 0);
    typename CryptoPP::CBC_Mode<RefCipher>::Encryption enc(key.data(), key.size(), iv.data());
    std::vector<std::uint8_t> buf(kCallSize, 0xA5);
    for (auto _ : state) {
        enc.ProcessData(buf.data(), buf.data(), kCallSize);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kCallSize));
}
#endif

template <class Cipher>
void RegisterOurs(const std::string& name) {
    benchmark::RegisterBenchmark((name + "/ours").c_str(), OursCbc<Cipher>);
}

#ifdef VANTREL_HAVE_CRYPTOPP
template <class RefCipher>
void RegisterReference(const std::string& name, std::size_t keyBytes) {
    benchmark::RegisterBenchmark((name + "/reference").c_str(), ReferenceCbc<RefCipher>, keyBytes);
}
#endif

}  // namespace vantrel::bench

// Each bench program defines RegisterCiphers() and takes this main.
void RegisterCiphers();

#define VANTREL_CIPHER_BENCH_MAIN()                    \
    int main(int argc, char** argv) {                  \
        RegisterCiphers();                             \
        benchmark::Initialize(&argc, argv);            \
        benchmark::RunSpecifiedBenchmarks();           \
        benchmark::Shutdown();                         \
        return 0;                                      \
    }

