#pragma once

// A private temporary folder for one test: XDG_CONFIG_HOME points into it while the object
// lives (so the data folder is <Path()>Vantrel/), and everything in it is removed at the end.
//
//   test::TestFolder dir;
//   dir.Write("a.ini", "[S]\nk=v\n");
//   EXPECT_EQ(dir.Read("a.ini"), ...);

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace vantrel::test {

class TestFolder {
public:
    TestFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vantrel-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
        path_ = pattern + "/";
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfigHome_ = old;
        ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    }
    ~TestFolder() {
        if (oldConfigHome_) ::setenv("XDG_CONFIG_HOME", oldConfigHome_->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder itself, ending with "/".
    const std::string& Path() const { return path_; }
    // Where the program's data folder lies while XDG_CONFIG_HOME points here.
    std::string DataFolder() const { return path_ + "Vantrel/"; }
    std::string File(const std::string& name) const { return path_ + name; }

    std::string Write(const std::string& name, const std::string& content) const {
        const std::string full = File(name);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }
    // Whole content of a file given by name inside the folder or by absolute path.
    std::string Read(const std::string& name) const {
        std::ifstream in(name.starts_with("/") ? name : File(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private:
    std::string path_;
    std::optional<std::string> oldConfigHome_;
};

}  // namespace vantrel::test
