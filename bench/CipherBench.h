#pragma once

// Throughput of one cipher in CBC through EncryptBuffer, 8192 bytes per call, beside the same
// cipher of libcrypto++ and of OpenSSL (EVP) in the same run, where they have it. Each
// benchmark reports bytes per second; at the end the program prints a table with the ratio
// ours / the faster reference, the figure that counts. bench/cipher_table.sh runs every group.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "crypto/Cipher.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/modes.h>
#endif
#ifdef VANTREL_HAVE_OPENSSL
#include <openssl/evp.h>
#include <openssl/provider.h>
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

#ifdef VANTREL_HAVE_OPENSSL
// OpenSSL's CBC through EVP, padding off so each call is exactly 8192 bytes of blocks.
// Blowfish, CAST5, DES and RC2 live in the legacy provider; loading it beside the default
// one keeps AES and triple DES where they are.
inline void OpenSslCbc(benchmark::State& state, const char* name, int keyBytes) {
    static OSSL_PROVIDER* const legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    static OSSL_PROVIDER* const base = OSSL_PROVIDER_load(nullptr, "default");
    (void)legacy;
    (void)base;
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, name, nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    std::vector<std::uint8_t> key(std::size_t(keyBytes), 0x3C), iv(16, 0), buf(kCallSize, 0xA5);
    bool ok = cipher && ctx && EVP_EncryptInit_ex2(ctx, cipher, nullptr, nullptr, nullptr) == 1 &&
              EVP_CIPHER_CTX_set_key_length(ctx, keyBytes) == 1 &&
              EVP_EncryptInit_ex2(ctx, nullptr, key.data(), iv.data(), nullptr) == 1 &&
              EVP_CIPHER_CTX_set_padding(ctx, 0) == 1;
    if (!ok) state.SkipWithError((std::string("OpenSSL has no ") + name).c_str());
    int outLen = 0;
    for (auto _ : state) {
        EVP_EncryptUpdate(ctx, buf.data(), &outLen, buf.data(), int(kCallSize));
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kCallSize));
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
}
#endif

template <class Cipher>
void RegisterOurs(const std::string& name) {
    benchmark::RegisterBenchmark((name + "/ours").c_str(), OursCbc<Cipher>);
}

#ifdef VANTREL_HAVE_CRYPTOPP
template <class RefCipher>
void RegisterReference(const std::string& name, std::size_t keyBytes) {
    benchmark::RegisterBenchmark((name + "/cryptopp").c_str(), ReferenceCbc<RefCipher>, keyBytes);
}
#endif

// name: OpenSSL's name of the cipher in CBC; keyBytes as for the Crypto++ reference.
inline void RegisterOpenSsl([[maybe_unused]] const std::string& name, [[maybe_unused]] const char* openSslName,
                            [[maybe_unused]] int keyBytes) {
#ifdef VANTREL_HAVE_OPENSSL
    benchmark::RegisterBenchmark((name + "/openssl").c_str(), OpenSslCbc, openSslName, keyBytes);
#endif
}

// Passes every run on to the console and keeps each benchmark's bytes per second (the median
// where repetitions give one), for the table at the end.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Aggregate && !median) continue;
            const auto it = r.counters.find("bytes_per_second");
            if (it == r.counters.end()) continue;
            const std::string name = r.run_name.function_name;
            if (median || !medians_.count(name)) rates_[name] = it->second.value;
            if (median) medians_[name] = true;
        }
    }

    // One row per cipher, in MB/s (10^6 bytes): ours, Crypto++, OpenSSL, ours / the faster.
    void PrintTable() const {
        std::map<std::string, std::map<std::string, double>> rows;
        std::vector<std::string> order;
        for (const auto& [name, rate] : rates_) {
            const auto slash = name.find('/');
            if (slash == std::string::npos) continue;
            rows[name.substr(0, slash)][name.substr(slash + 1)] = rate / 1e6;
        }
        std::printf("\n| cipher | ours MB/s | Crypto++ MB/s | OpenSSL MB/s | ours / best |\n");
        std::printf("|---|---|---|---|---|\n");
        for (const auto& [cipher, cols] : rows) {
            const auto get = [&](const char* k) { return cols.count(k) ? cols.at(k) : 0.0; };
            const double ours = get("ours"), best = std::max(get("cryptopp"), get("openssl"));
            const auto cell = [](double v) { return v > 0 ? std::to_string(int(v + 0.5)) : std::string(); };
            std::string ratio;
            if (ours > 0 && best > 0) {
                char b[16];
                std::snprintf(b, sizeof b, "%.2f", ours / best);
                ratio = b;
            }
            std::printf("| %s | %s | %s | %s | %s |\n", cipher.c_str(), cell(ours).c_str(), cell(get("cryptopp")).c_str(),
                        cell(get("openssl")).c_str(), ratio.c_str());
            for (const auto& [col, rate] : cols)
                if (col != "ours" && col != "cryptopp" && col != "openssl")
                    std::printf("| %s (%s) | %s | | | |\n", cipher.c_str(), col.c_str(), cell(rate).c_str());
        }
    }

private:
    std::map<std::string, double> rates_;
    std::map<std::string, bool> medians_;
};

}  // namespace vantrel::bench

// Each bench program defines RegisterCiphers() and takes this main.
void RegisterCiphers();

#define VANTREL_CIPHER_BENCH_MAIN()                    \
    int main(int argc, char** argv) {                  \
        RegisterCiphers();                             \
        benchmark::Initialize(&argc, argv);            \
        vantrel::bench::TableReporter reporter;        \
        benchmark::RunSpecifiedBenchmarks(&reporter);  \
        reporter.PrintTable();                         \
        benchmark::Shutdown();                         \
        return 0;                                      \
    }

