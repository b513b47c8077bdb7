#pragma once

#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/LangConstants.h"
#include "i18n/LangFile.h"

namespace vantrel {

// What the manager needs of a window's translation controller; the windowing side
// implements it (TLanguageController in the GUI), the engine never sees a window.
class TLangControllerLink {
public:
    virtual ~TLangControllerLink() = default;
    // The name of the window section that holds this window's texts.
    virtual std::string LangSectionName() const = 0;
    // Sets every translatable text of the window: the section's text for an ID it holds,
    // the text the window was designed with otherwise. section is null when the current
    // language has no texts for this window.
    virtual void ApplyLanguage(const TLang_CompTranslation* section) = 0;
};

// A language the program can be switched to, for a choice offered to the user.
struct TLanguageChoice {
    int ID = 0;
    std::string Name;  // in the language itself: "English", "Deutsch", "Русский"
};

// The one owner of the message texts and of the language they are in. It knows the
// language files found beside the program, applies the chosen one to the message constants
// and to every window that carries a translation controller.
class TLanguageManager {
public:
    static constexpr int DefaultLanguageID = vantrel::DefaultLanguageID;

    // Loads the built-in message table; the language is the default one.
    TLanguageManager();
    TLanguageManager(const TLanguageManager&) = delete;
    TLanguageManager& operator=(const TLanguageManager&) = delete;

    // Registers every file of folder matching mask (in any letter case), in name order, and
    // with descend the same in subfolders whose names do not begin with "."; returns how many
    // files carried a usable language ID.
    int ScanLanguageFiles(const std::string& folder, const std::string& mask, bool descend);
    // Reads the file's header: false when the file does not exist or its "LANGID" has low
    // 16 bits 0 (absent, not a number, 65536). Otherwise true, and unless the ID is the
    // default one the file becomes the one for that ID, replacing any earlier file.
    // A file that is there but cannot be read raises EFileError.
    bool RegisterLanguageFile(const std::string& fileName);

    // Switches to a language: its file is read in full and its texts replace the built-in
    // ones; the default ID, or an ID without a file, brings back the built-in texts. When
    // the language changed, every registered window is translated again. A broken file
    // raises ELangError and leaves everything as it was.
    void SetLanguage(int id);

    int LanguageID() const;
    int GetDefaultLanguageID() const { return DefaultLanguageID; }
    // The ANSI code page of the current language.
    int CodePage() const;
    // The file recorded for a language, or the empty text.
    std::string LanguageFile(int id) const;
    // The default language first, then every language with a file, by ID.
    std::vector<TLanguageChoice> Languages() const;

    // The current text of a message constant, the name in any letter case; ELangError
    // "Constant \"name\" not found" for a name that is not in the table.
    std::string Constant(std::string_view name) const;

    // Controllers register themselves when created and leave when destroyed.
    void RegisterController(TLangControllerLink& controller);
    void UnregisterController(TLangControllerLink& controller);
    // Applies the current language to one controller's window, reading its file again.
    void TranslateWindow(TLangControllerLink& controller);

private:
    struct LanguageFileEntry {
        int id;
        std::string fileName;
    };

    static void TranslateWindow(TLangControllerLink& controller, const TLang_CompTranslations* translation);

    mutable std::shared_mutex lock_;
    int currentId_ = DefaultLanguageID;
    int codePage_;
    TLang_Constants constants_;
    std::vector<TLangControllerLink*> controllers_;
    std::vector<LanguageFileEntry> files_;
};

// Sets every constant back to its built-in text, then each one the translation names to that
// text; constants the program does not have are passed over. No translation: English.
void ApplyLangTranslation(TLang_Constants& constants, const TLang_CompTranslations* translation);

// The process's manager, created on first use.
TLanguageManager& LanguageManager();

// The language the user chose: "LanguageID" of the options, the default language when it is
// absent or not a number. The one place the setting is read; start-up hands it to the
// message texts, the algorithm registry and the wiping schemes.
int LanguageSetting();

// The name a language goes by in itself ("Deutsch" for 1031); "Language <id>" for one this
// program has no name for.
std::string LanguageDisplayName(int id);

}  // namespace vantrel
