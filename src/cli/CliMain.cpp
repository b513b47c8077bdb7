#include "cli/CliMain.h"

#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/Terminal.h"
#include "cli/TerminalHost.h"
#include "crypto/Sha1.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LangConstants.h"
#include "operations/Operations.h"
#include "platform/CodePage.h"

namespace vantrel::cli {

namespace {

constexpr const char* kUsage = R"(usage:
  vantrel-cli encrypt [-a|--algorithm TAG|POSITION] [--delete-source] [--password-file FILE] PATH...
  vantrel-cli decrypt [--delete-source] [--password-file FILE] PATH...
  vantrel-cli algorithms     one line per algorithm: position, tag, name, description
  vantrel-cli selftest       the self-test of every cipher and of SHA-1
  vantrel-cli --help | --version

A folder stands for every file under it. Without --password-file the password is asked on
the terminal. Exit status: 0 every file done, 1 a file failed or was skipped, 2 usage error.
)";

struct UsageError {
    std::string text;
};

struct Options {
    std::string command;
    std::optional<std::string> algorithm;
    std::optional<std::string> passwordFile;
    bool deleteSource = false;
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
        } else if (a == "--password-file" && (o.command == "encrypt" || o.command == "decrypt")) {
            o.passwordFile = value();
        } else if (a == "--delete-source" && (o.command == "encrypt" || o.command == "decrypt")) {
            o.deleteSource = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError{"unknown option " + a};
        } else {
            o.paths.push_back(a);
        }
    }
    return o;
}

int AlgorithmPositionOf(const std::string& spec) {
    if (!spec.empty() && spec.find_first_not_of("0123456789") == std::string::npos) {
        const int p = std::stoi(spec.size() > 3 ? "999" : spec);
        if (p < AlgorithmCount()) return p;
    } else if (spec.size() == 3) {
        if (auto* a = FindAlgorithmByTag(reinterpret_cast<const std::uint8_t*>(spec.data())))
            return AlgorithmPosition(*a);
    }
    throw UsageError{"unknown algorithm " + spec + " (see vantrel-cli algorithms)"};
}

// The password as the user typed it, converted to the system's code page as a typed
// password always is; nothing when it could not be had (the reason is printed).
std::optional<ByteString> ReadPassword(const Options& o, bool confirm) {
    std::optional<std::string> text;
    if (o.passwordFile) {
        text = FirstLineOf(*o.passwordFile);
        if (!text) {
            std::cerr << "vantrel-cli: cannot read the password file " << *o.passwordFile << "\n";
            return std::nullopt;
        }
    } else {
        text = AskHidden("Password: ");
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
    TTerminalHost host(/*mayAskPasswords=*/!o.passwordFile && HaveTerminal());
    auto worker = StartOperation(std::move(op), TSelectionMode::FilesOnly, host, o.paths);
    return host.Run(worker);
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
        InitCryptoAlgorithms();
        const int status = Dispatch(o);
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
