#include "i18n/LanguageManager.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <optional>

#include "app/OptionsUnit.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vantrel {

namespace {

// Names of languages in themselves, for the language choice. Sublanguages not listed take
// the name of the first entry with their primary language.
struct LanguageName {
    int id;
    const char* name;
};

constexpr LanguageName kLanguageNames[] = {
    {1033, "English"},     {1031, "Deutsch"},       {1049, "Русский"},     {1036, "Français"},
    {1034, "Español"},     {3082, "Español"},       {1040, "Italiano"},    {1043, "Nederlands"},
    {1046, "Português (Brasil)"}, {2070, "Português"}, {1045, "Polski"},   {1029, "Čeština"},
    {1051, "Slovenčina"},  {1038, "Magyar"},        {1048, "Română"},      {1026, "Български"},
    {1058, "Українська"},  {1059, "Беларуская"},    {1050, "Hrvatski"},    {1060, "Slovenščina"},
    {1030, "Dansk"},       {1053, "Svenska"},       {1044, "Norsk (bokmål)"}, {1035, "Suomi"},
    {1061, "Eesti"},       {1062, "Latviešu"},      {1063, "Lietuvių"},    {1032, "Ελληνικά"},
    {1055, "Türkçe"},      {1037, "עברית"},         {1025, "العربية"},     {1041, "日本語"},
    {1042, "한국어"},      {2052, "中文(简体)"},    {1028, "中文(繁體)"},
};

int IdOfHeader(const TLang_CompTranslations& header) {
    try {
        return StrToInt(header.Param("LANGID"));
    } catch (const EConvertError&) {
        return 0;
    }
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    return ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
}

}  // namespace

void ApplyLangTranslation(TLang_Constants& constants, const TLang_CompTranslations* translation) {
    // Back to the built-in texts first, so that a constant the file leaves out is English
    // even after another language was in use.
    for (TLang_Constant& constant : constants) constant.Value = constant.DefaultValue;
    if (!translation) return;
    for (const TLang_Constant& text : translation->Constants())
        if (TLang_Constant* constant = constants.Find(text.Name)) constant->Value = text.Value;
}

std::string LanguageDisplayName(int id) {
    for (const auto& l : kLanguageNames)
        if (l.id == id) return l.name;
    for (const auto& l : kLanguageNames)
        if ((l.id & 0x3FF) == (id & 0x3FF)) return l.name;
    return "Language " + std::to_string(id);
}

TLanguageManager::TLanguageManager() : codePage_(CodePageOfLanguage(DefaultLanguageID)) {
    LoadBuiltInLangConstants(constants_);
}

int TLanguageManager::ScanLanguageFiles(const std::string& folder, const std::string& mask, bool descend) {
    std::vector<TDirEntry> entries;
    try {
        entries = ListDirectory(folder);
    } catch (const EFileError&) {
        return 0;  // no such folder: no language files
    }
    int count = 0;
    for (const TDirEntry& entry : entries) {
        const std::string full = JoinPath(folder, entry.name);
        if (entry.isDirectory) {
            // The mask picks files, not the folders to look into. Links to folders are not
            // followed, so a loop of links cannot trap the scan.
            if (descend && !entry.name.starts_with(".")) count += ScanLanguageFiles(full, mask, descend);
        } else if (MatchesMask(entry.name, mask) && !DirectoryExists(full) && RegisterLanguageFile(full)) {
            ++count;
        }
    }
    return count;
}

bool TLanguageManager::RegisterLanguageFile(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) return false;
    TLang_CompTranslations header;
    header.LoadFromFile(fileName, true);
    const int id = IdOfHeader(header);
    if ((id & 0xFFFF) == 0) return false;
    if (id == DefaultLanguageID) return true;

    std::unique_lock guard(lock_);
    const auto known = std::find_if(files_.begin(), files_.end(), [id](const auto& f) { return f.id == id; });
    if (known != files_.end()) known->fileName = fileName;
    else files_.push_back(LanguageFileEntry{id, fileName});
    return true;
}

void TLanguageManager::SetLanguage(int id) {
    std::optional<TLang_CompTranslations> translation;
    std::vector<TLangControllerLink*> controllers;
    {
        std::unique_lock guard(lock_);
        const auto file = std::find_if(files_.begin(), files_.end(), [id](const auto& f) { return f.id == id; });
        if (id == DefaultLanguageID || file == files_.end()) {
            id = DefaultLanguageID;
        } else {
            translation.emplace();
            translation->LoadFromFile(file->fileName, false);
        }
        if (id == currentId_) return;
        currentId_ = id;
        codePage_ = CodePageOfLanguage(id);
        // Changed under the write lock: no lookup ever sees a half-applied table.
        ApplyLangTranslation(constants_, translation ? &*translation : nullptr);
        controllers = controllers_;
    }
    // Windows are translated without the lock held: they look up constants themselves.
    const TLang_CompTranslations* applied = translation ? &*translation : nullptr;
    for (TLangControllerLink* controller : controllers) TranslateWindow(*controller, applied);
}

int TLanguageManager::LanguageID() const {
    std::shared_lock guard(lock_);
    return currentId_;
}

int TLanguageManager::CodePage() const {
    std::shared_lock guard(lock_);
    return codePage_;
}

std::string TLanguageManager::LanguageFile(int id) const {
    std::shared_lock guard(lock_);
    for (const auto& f : files_)
        if (f.id == id) return f.fileName;
    return {};
}

std::vector<TLanguageChoice> TLanguageManager::Languages() const {
    std::vector<TLanguageChoice> choices{{DefaultLanguageID, LanguageDisplayName(DefaultLanguageID)}};
    std::vector<int> ids;
    {
        std::shared_lock guard(lock_);
        for (const auto& f : files_) ids.push_back(f.id);
    }
    std::sort(ids.begin(), ids.end());
    for (int id : ids) choices.push_back({id, LanguageDisplayName(id)});
    return choices;
}

std::string TLanguageManager::Constant(std::string_view name) const {
    std::shared_lock guard(lock_);
    return constants_.Value(name);
}

void TLanguageManager::RegisterController(TLangControllerLink& controller) {
    std::unique_lock guard(lock_);
    if (std::find(controllers_.begin(), controllers_.end(), &controller) == controllers_.end())
        controllers_.push_back(&controller);
}

void TLanguageManager::UnregisterController(TLangControllerLink& controller) {
    std::unique_lock guard(lock_);
    std::erase(controllers_, &controller);
}

void TLanguageManager::TranslateWindow(TLangControllerLink& controller) {
    std::string fileName;
    {
        std::shared_lock guard(lock_);
        if (currentId_ != DefaultLanguageID) {
            for (const auto& f : files_)
                if (f.id == currentId_) fileName = f.fileName;
        }
    }
    if (fileName.empty()) {
        TranslateWindow(controller, nullptr);
        return;
    }
    TLang_CompTranslations translation;
    translation.LoadFromFile(fileName, false);
    TranslateWindow(controller, &translation);
}

void TLanguageManager::TranslateWindow(TLangControllerLink& controller, const TLang_CompTranslations* translation) {
    const TLang_CompTranslation* section = translation ? translation->Section(controller.LangSectionName()) : nullptr;
    controller.ApplyLanguage(section);
}

TLanguageManager& LanguageManager() {
    static TLanguageManager manager;
    return manager;
}

std::string LangConstant(std::string_view name) { return LanguageManager().Constant(name); }

int LanguageSetting() { return TOptions().ReadInteger("LanguageID", DefaultLanguageID); }

}  // namespace vantrel
