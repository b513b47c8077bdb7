#pragma once

// What every wizard test program shares: a private data folder, the program's start-up and
// shutdown around the whole program, and a main window with the wizard layer per test.

#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "../TestFolder.h"
#include "FakeMainWindow.h"
#include "app/InitFinal.h"
#include "ui/MessageBox.h"
#include "wizard/WizardController.h"

namespace vantrel::test {

// The main window with its wizard layer, built and torn down in the program's order.
struct WizardBench {
    FakeMainWindow window;
    TWizardController wizards{window};

    WizardBench() {
        window.Driver = &wizards;
        window.show();
        TMessageBox::Reset();
    }

    template <class T>
    T* Get(const char* name) const {
        return window.Get<T>(name);
    }
    QString Text(const char* label) const;
    void Click(const char* button) const { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }
};

inline QString WizardBench::Text(const char* label) const {
    if (auto* l = Get<QLabel>(label)) return l->text();
    return QStringLiteral("<no %1>").arg(QLatin1String(label));
}

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteWhole(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// The names in a folder, sorted.
inline QStringList Listing(const std::string& folder) {
    QStringList names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names << QString::fromStdString(e.path().filename().string());
    names.sort();
    return names;
}

}  // namespace vantrel::test
