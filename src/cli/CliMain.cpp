#include "cli/CliMain.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "cli/TerminalHost.h"
#include "crypto/Sha1.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LangConstants.h"
#include "i18n/LanguageManager.h"
#include "i18n/MessageFormat.h"
#include "operations/Operations.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "shred/ShredAlgorithms.h"

namespace vantrel::cli {

namespace {

constexpr const char* kUsage = R"(usage:
  vantrel-cli encrypt [-a|--algorithm TAG|POSITION] [--delete-source] [--password-file FILE|--key-file FILE] PATH...
  vantrel-cli decrypt [--delete-source] [--password-file FILE|--key-file FILE] PATH...
  vantrel-cli algorithms     one line per algorithm: position, tag, name, description
  vantrel-cli selftest       the self-test of every cipher and of SHA-1
  vantrel-cli shred [-s|--scheme POSITION|CLASS] PATH...      default scheme 0
  vantrel-cli schemes        one line per wiping scheme: position, class, name, description
  vantrel-cli hide [--password-file FILE] PATH...              files, folders, or a drive's mount path
  vantrel-cli show [--password-file FILE] (INDEX... | --all)
  vantrel-cli hidden         index, type and path of every hidden item
  vantrel-cli --help | --version

For encrypt, decrypt and shred a folder stands for every file under it. Without
--password-file (the file's first line) or --key-file (every line of the file, each
followed by CR LF, as the window's "..." button loads it) the password is asked on the terminal; hide and show ask for the main
password (the first one given becomes it). Ctrl-C cancels a run: no partial output stays.
Exit status: 0 every file done, 1 a file failed or was skipped, 2 usage error.
)";

struct UsageError {
    std::string text;
};

struct Options {
    std::string command;
    std::optional<std::string> algorithm;
    std::optional<std::string> passwordFile;
    std::optional<std::string> keyFile;
    std::optional<std::string> scheme;
    bool deleteSource = false;
    bool all = false;
    std::vector<std::string> paths;
};

Options Parse(int argc, char** argv) {
    Options o;
    if (argc < 2) throw UsageError{"no command given"};
    o.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{a + " needs a value"};
            return argv[++i];
        };
        if (a == "--") {
            for (++i; i < argc; ++i) o.paths.push_back(argv[i]);
        } else if ((a == "-a" || a == "--algorithm") && o.command == "encrypt") {
            o.algorithm = value();
        } else if ((a == "-s" || a == "--scheme") && o.command == "shred") {
            o.scheme = value();
        } else if (a == "--all" && o.command == "show") {
            o.all = true;
        } else if (a == "--password-file" && (o.command == "encrypt" || o.command == "decrypt" ||
                                               o.command == "hide" || o.command == "show")) {
            o.passwordFile = value();
        } else if (a == "--key-file" && (o.command == "encrypt" || o.command == "decrypt")) {
            o.keyFile = value();
        } else if (a == "--delete-source" && (o.command == "encrypt" || o.command == "decrypt")) {
            o.deleteSource = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option " + a};
        } else {
            o.paths.push_back(a);
        }
    }
    if (o.passwordFile && o.keyFile) throw UsageError{"--password-file and --key-file exclude each other"};
    // The engine takes full paths, as the file manager hands them over; a relative path
    // would also be recorded as such by hide.
    if (o.command != "show")
        for (auto& p : o.paths) p = std::filesystem::absolute(p).lexically_normal().string();
    return o;
}

// A decimal position below count, or nothing.
std::optional<int> PositionIn(const std::string& spec, int count) {
    if (spec.empty() || spec.size() > 3 || spec.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int p = std::stoi(spec);
    return p < count ? std::optional<int>(p) : std::nullopt;
}

int AlgorithmPositionOf(const std::string& spec) {
    if (auto p = PositionIn(spec, AlgorithmCount())) return *p;
    if (spec.size() == 3)
        if (auto* a = FindAlgorithmByTag(reinterpret_cast<const std::uint8_t*>(spec.data())))
            return AlgorithmPosition(*a);
    throw UsageError{"unknown algorithm " + spec + " (see vantrel-cli algorithms)"};
}

int SchemePositionOf(const std::string& spec) {
    const int count = int(ShredAlgorithmList.size());
    if (auto p = PositionIn(spec, count)) return *p;
    for (int i = 0; i < count; ++i)
        if (spec == ShredAlgorithmList[std::size_t(i)]->ClassName()) return i;
    throw UsageError{"unknown scheme " + spec + " (see vantrel-cli schemes)"};
}

// The password as the user typed it, from the file or the terminal; nothing when it could
// not be had (the reason is printed).
std::optional<std::string> ReadPasswordText(const Options& o, bool confirm, const char* prompt) {
    std::optional<std::string> text;
    if (o.keyFile) {
        try {
            text = ReadLinesWithCrLf(*o.keyFile);
        } catch (const std::exception& e) {
            std::cerr << "vantrel-cli: cannot read the key file: " << e.what() << "\n";
            return std::nullopt;
        }
    } else if (o.passwordFile) {
        text = FirstLineOf(*o.passwordFile);
        if (!text) {
            std::cerr << "vantrel-cli: cannot read the password file " << *o.passwordFile << "\n";
            return std::nullopt;
        }
    } else {
        text = AskHidden(prompt);
        if (!text) {
            std::cerr << "vantrel-cli: no terminal to ask for the password; use --password-file\n";
            return std::nullopt;
        }
        if (confirm) {
            auto again = AskHidden("Password again: ");
            const bool same = again && *again == *text;
            if (again) SecureZero(again->data(), again->size());
            if (!same) {
                std::cerr << "vantrel-cli: " << LangConstant("Second_pass_not_equal_first") << "\n";
                SecureZero(text->data(), text->size());
                return std::nullopt;
            }
        }
    }
    return text;
}

// A file password: not empty, and converted to the system's code page as a typed password
// always is.
std::optional<ByteString> ReadPassword(const Options& o, bool confirm) {
    auto text = ReadPasswordText(o, confirm, "Password: ");
    if (!text) return std::nullopt;
    if (text->empty()) {
        std::cerr << "vantrel-cli: " << LangConstant("Enter_password_first") << "\n";
        return std::nullopt;
    }
    ByteString bytes = Utf8ToAnsi(*text);
    SecureZero(text->data(), text->size());
    return bytes;
}

int RunCrypt(const Options& o, bool encrypt) {
    if (o.paths.empty()) throw UsageError{"no PATH given"};
    std::unique_ptr<TCrypt> op;
    if (encrypt) {
        op = std::make_unique<TEncrypt>();
        const int position = AlgorithmPositionOf(o.algorithm.value_or("BFS"));
        op->CryptoAlgorithm = &AlgorithmAt(position);
        SetProgressPassCount(position == AlgorithmCount() - 1 ? AlgorithmCount() - 1 : 1);
    } else {
        op = std::make_unique<TDecrypt>();
        SetProgressPassCount(1);
    }
    auto password = ReadPassword(o, encrypt);
    if (!password) return 1;
    op->PasswordBytes = std::move(*password);
    op->DeleteSource = o.deleteSource;
    TTerminalHost host(/*mayAskPasswords=*/!o.passwordFile && !o.keyFile && HaveTerminal());
    auto worker = StartOperation(std::move(op), TSelectionMode::FilesOnly, host, o.paths);
    return host.Run(worker);
}

int RunShred(const Options& o) {
    if (o.paths.empty()) throw UsageError{"no PATH given"};
    auto op = std::make_unique<TShred>();
    op->Scheme = ShredAlgorithmList[std::size_t(SchemePositionOf(o.scheme.value_or("0")))].get();
    TTerminalHost host(false);
    return host.Run(StartOperation(std::move(op), TSelectionMode::FilesOnly, host, o.paths));
}

// As the hide and show wizards begin: the main password must be proved, or, when none is
// set, the one given becomes it.
bool CheckMainPassword(const Options& o) {
    auto typed = ReadPasswordText(o, false, "Main password: ");
    if (!typed) return false;
    const bool ok = HiddenItemsStore->HasPassword() ? HiddenItemsStore->CheckPassword(*typed) : true;
    if (ok && !HiddenItemsStore->HasPassword()) HiddenItemsStore->SetPassword(*typed);
    SecureZero(typed->data(), typed->size());
    if (!ok) std::cerr << "vantrel-cli: " << LangConstant("Wrong_password") << "\n";
    return ok;
}

int RunHide(const Options& o) {
    if (o.paths.empty()) throw UsageError{"no PATH given"};
    if (!CheckMainPassword(o)) return 1;
    TTerminalHost host(false);
    const int status = host.Run(StartOperation(std::make_unique<THide>(), TSelectionMode::WholeItems, host, o.paths));
    HiddenItemsStore->Save();
    return status;
}

int RunShow(const Options& o) {
    std::vector<std::size_t> indexes;
    if (o.all) {
        if (!o.paths.empty()) throw UsageError{"--all takes no INDEX"};
        for (std::size_t i = 0; i < HiddenItemsStore->ItemCount(); ++i) indexes.push_back(i);
    } else {
        if (o.paths.empty()) throw UsageError{"no INDEX given"};
        for (const auto& p : o.paths) {
            if (p.empty() || p.find_first_not_of("0123456789") != std::string::npos || p.size() > 9 ||
                std::stoul(p) >= HiddenItemsStore->ItemCount())
                throw UsageError{"no hidden item " + p + " (see vantrel-cli hidden)"};
            indexes.push_back(std::stoul(p));
        }
    }
    if (!CheckMainPassword(o)) return 1;
    // Highest first, so removing an item never moves one still to be shown.
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    TShow show;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        show.ItemIndex = int(*it);
        show.ProcessFile(HiddenItemsStore->Item(*it).FilePath);
    }
    HiddenItemsStore->Save();
    const int n = int(indexes.size());
    std::cerr << show.GetCompletedText() << ": "
              << FormatMessageText(LangConstant(n >= 2 ? "Files_were" : "File_was"), {std::to_string(n), show.GetDoneVerb()})
              << "\n";
    return 0;
}

int ListHidden() {
    const auto items = HiddenItemsStore->Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const char* type = items[i].ItemType == hitFolder ? "folder" : items[i].ItemType == hitDrive ? "drive" : "file";
        std::cout << i << '\t' << type << '\t' << items[i].FilePath << '\n';
    }
    return 0;
}

int ListSchemes() {
    for (std::size_t i = 0; i < ShredAlgorithmList.size(); ++i) {
        const auto& scheme = *ShredAlgorithmList[i];
        std::cout << i << '\t' << scheme.ClassName() << '\t' << ShredAlgorithmBoxText(int(i)) << '\t'
                  << GetShredDescription(scheme) << '\n';
    }
    return 0;
}

int ListAlgorithms() {
    for (int i = 0; i < AlgorithmCount(); ++i) {
        const auto& a = AlgorithmAt(i);
        std::cout << i << '\t' << a.Tag().View() << '\t' << AlgorithmBoxText(i) << '\t'
                  << GetAlgorithmDescription(a) << '\n';
    }
    return 0;
}

int SelfTest() {
    bool all = true;
    auto line = [&](const std::string& name, bool ok) {
        std::cout << name << '\t' << (ok ? "ok" : "FAILED") << '\n';
        all = all && ok;
    };
    for (int i = 0; i + 1 < AlgorithmCount(); ++i) {
        const auto* c = AlgorithmAt(i).Cipher();
        line(c->ClassAlgorithm(), c->RunSelfTest());
    }
    line(TVC_sha1().ClassAlgorithm(), TVC_sha1().RunSelfTest());
    return all ? 0 : 1;
}

int Dispatch(const Options& o) {
    if (o.command == "encrypt") return RunCrypt(o, true);
    if (o.command == "decrypt") return RunCrypt(o, false);
    if (o.command == "algorithms") return ListAlgorithms();
    if (o.command == "selftest") return SelfTest();
    if (o.command == "shred") return RunShred(o);
    if (o.command == "schemes") return ListSchemes();
    if (o.command == "hide" || o.command == "show" || o.command == "hidden") {
        InitHiddenConfig();
        // Released without the save of DoneHiddenConfig: hide and show save after a
        // successful run, and a refused main password must leave the file as it was.
        struct ReleaseStore {
            ~ReleaseStore() { HiddenItemsStore.reset(); }
        } release;
        if (o.command == "hide") return RunHide(o);
        if (o.command == "show") return RunShow(o);
        return ListHidden();
    }
    throw UsageError{"unknown command " + o.command};
}

}  // namespace

int Main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "vantrel-cli " << VANTREL_VERSION << '\n';
        return 0;
    }
    try {
        const Options o = Parse(argc, argv);
        InstallInterruptHandler();
        const int language = LanguageSetting();
        InitCryptoAlgorithms(language);
        InitShredAlgorithms(language);
        const int status = Dispatch(o);
        DoneShredAlgorithms();
        DoneCryptoAlgorithms();
        return status;
    } catch (const UsageError& e) {
        std::cerr << "vantrel-cli: " << e.text << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "vantrel-cli: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace vantrel::cli
