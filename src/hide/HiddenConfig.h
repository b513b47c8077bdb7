#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

enum THiddenItemType : std::uint8_t { hitFile = 0, hitFolder = 1, hitDrive = 2 };

struct THiddenItem {
    std::uint8_t ItemType = hitFile;  // 0 file, 1 folder, 2 drive; other values read as files
    std::string FilePath;             // as it was hidden; a drive by its root path
};

// The record of hidden items and the main password, backed by "base.dat", an INI file:
//   [Password] Password=<crypto_pwhash_str hash>
//   [Count]    Count=<n>
//   [Item<i>]  ItemType=<0|1|2>  FilePath=<path>     for i = 0 .. n-1
// The worker adds items while the GUI thread reads them, so every member takes the lock.
// The typed password is never stored: only its salted, memory-hard hash. A stored value
// that is no such hash is a legacy plain-text password; it is accepted and hashed, and the
// hash replaces it in the file at the next save.
class THiddenConfig {
public:
    THiddenConfig();                               // backed by GetStoreFileName()
    explicit THiddenConfig(std::string fileName);  // backed by the file named

    // Appends the file's items to Items and takes its password.
    void Load();
    // Writes the password, the count and every item; sections whose names contain "Item"
    // are replaced, others are kept. The file is replaced atomically. Throws EProfileError.
    void Save();

    // Appends the item, then saves. A path that cannot be stored (it holds a line break)
    // raises EProfileError and leaves the store as it was.
    void AddItem(std::uint8_t itemType, const std::string& path);
    // Removes the item at the index (std::out_of_range when there is none), then saves.
    void DeleteItem(std::size_t index);
    // The first item whose path equals the given one exactly, case included.
    std::optional<THiddenItem> FindItem(const std::string& path) const;
    std::size_t ItemCount() const;
    THiddenItem Item(std::size_t index) const;  // std::out_of_range when there is none
    std::vector<THiddenItem> Items() const;     // a snapshot, in index order

    static bool CanStore(std::string_view path);

    // Whether a main password is set.
    bool HasPassword() const;
    bool CheckPassword(std::string_view typed) const;
    // Sets (an empty text: clears) the main password. Like any change of the password alone
    // it reaches the file with the next save.
    void SetPassword(std::string_view typed);

private:
    std::string StoreFile() const;
    void SaveLocked();

    mutable std::mutex mutex_;
    std::string fileName_;  // empty: GetStoreFileName()
    std::vector<THiddenItem> Items_;
    std::string PasswordHash_;  // empty: no main password
};

// The data folder + "base.dat", created empty when missing (EFileError when it cannot be).
std::string GetStoreFileName();

// The process-wide store: created and loaded by InitHiddenConfig, saved and freed by
// DoneHiddenConfig.
extern std::unique_ptr<THiddenConfig> HiddenItemsStore;
void InitHiddenConfig();
void DoneHiddenConfig();

}  // namespace vantrel
