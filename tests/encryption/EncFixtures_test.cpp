// The .enc files of an independent implementation (tests/data/enc): each must decrypt to its
// original, and each original must encrypt to the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "crypto/ciphers/SelfTest.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LanguageManager.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

struct FixtureRow {
    std::string tag, encFile, passwordHex, original;
};

const std::string kEncDir = std::string(VANTREL_TEST_DATA) + "/enc/";

std::vector<FixtureRow> LoadManifest() {
    std::vector<FixtureRow> rows;
    std::ifstream in(kEncDir + "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        FixtureRow r;
        std::string text, size;
        std::getline(fields, r.tag, '\t');
        std::getline(fields, r.encFile, '\t');
        std::getline(fields, text, '\t');
        std::getline(fields, r.passwordHex, '\t');
        std::getline(fields, r.original, '\t');
        if (!r.tag.empty()) rows.push_back(r);
    }
    return rows;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class EncFixture : public ::testing::TestWithParam<FixtureRow> {
protected:
    void SetUp() override {
        InitCryptoAlgorithms(LanguageSetting());
        const auto& row = GetParam();
        algorithm = FindAlgorithmByTag(reinterpret_cast<const std::uint8_t*>(row.tag.data()));
        ASSERT_NE(algorithm, nullptr) << row.tag;
        const auto bytes = HexBytes(row.passwordHex);
        password = ByteString(bytes.begin(), bytes.end());
    }
    void TearDown() override { DoneCryptoAlgorithms(); }

    test::TestFolder dir;
    TCryptoAlgorithm* algorithm = nullptr;
    ByteString password;
};

TEST_P(EncFixture, DecryptsToTheOriginal) {
    const auto& row = GetParam();
    const std::string enc = dir.File("copy.enc");
    fs::copy_file(kEncDir + row.tag + "/" + row.encFile, enc);
    ASSERT_EQ(algorithm->DecryptFile(enc, password, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    EXPECT_EQ(ReadAll(dir.File(row.original)), ReadAll(kEncDir + "plain/" + row.original));
}

TEST_P(EncFixture, EncryptsToTheSameBytes) {
    const auto& row = GetParam();
    const std::string src = dir.File(row.original);
    fs::copy_file(kEncDir + "plain/" + row.original, src);
    ASSERT_EQ(algorithm->EncryptFile(src, password, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    EXPECT_EQ(ReadAll(src + ".enc"), ReadAll(kEncDir + row.tag + "/" + row.encFile));
}

// The all-at-once entry keeps the last pass's file: byte for byte the Twofish one.
class AllAtOnceFixture : public EncFixture {};

TEST_P(AllAtOnceFixture, GivesTheTwofishFile) {
    const auto& row = GetParam();
    const std::string src = dir.File(row.original);
    fs::copy_file(kEncDir + "plain/" + row.original, src);
    SetProgressPassCount(18);
    const auto result = AlgorithmAt(AlgorithmCount() - 1).EncryptFile(src, password, nullptr, nullptr, nullptr);
    SetProgressPassCount(1);
    ASSERT_EQ(result, TCryptoResult::Completed);
    EXPECT_EQ(ReadAll(src + ".enc"), ReadAll(kEncDir + row.tag + "/" + row.encFile));
}

std::vector<FixtureRow> TwofishRows() {
    std::vector<FixtureRow> rows;
    for (const auto& r : LoadManifest())
        if (r.tag == "TFS") rows.push_back(r);
    return rows;
}

std::string RowName(const ::testing::TestParamInfo<FixtureRow>& p) {
    std::string name = p.param.tag + "_" + p.param.original;
    for (auto& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name + "_" + std::to_string(p.index);
}

INSTANTIATE_TEST_SUITE_P(Reference, EncFixture, ::testing::ValuesIn(LoadManifest()), RowName);
INSTANTIATE_TEST_SUITE_P(Reference, AllAtOnceFixture, ::testing::ValuesIn(TwofishRows()), RowName);

}  // namespace
}  // namespace vantrel
