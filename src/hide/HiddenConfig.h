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
// Other processes (a second program, vantrel-cli) change the same file: every change (an
// item added or deleted, a new main password, a save) takes an exclusive advisory lock on
// "<store>.lock", reads the file afresh, applies itself and saves, so no process writes over
// another's change. The file is the record; the items in memory are its latest reading.
// The typed password is never stored: only its salted, memory-hard hash. A stored value
// that is no such hash is a legacy plain-text password; it is accepted and hashed, and the
// hash replaces it in the file at the next save.
class THiddenConfig {
public:
    THiddenConfig();                               // backed by GetStoreFileName()
    explicit THiddenConfig(std::string fileName);  // backed by the file named

    // Appends the file's items to Items and takes its password.
    void Load();
    // Reads the file afresh: its items replace those in memory, and its password does too
    // unless a new one set here is still to be saved. For a window that is about to list or
    // add items.
    void Reload();
    // Writes the password, the count and every item as the file holds them now; sections
    // whose names contain "Item" are replaced, others are kept. The file is replaced
    // atomically. Throws EProfileError.
    void Save();

    // Records the item, then saves; an item already recorded (same type and path) is not
    // added again. A path that cannot be stored (see CanStore) raises EProfileError and
    // leaves the store as it was; so does a failed save.
    void AddItem(std::uint8_t itemType, const std::string& path);
    // Removes the item that stands at the index in memory (std::out_of_range when there is
    // none), wherever another process has moved it meanwhile, then saves.
    void DeleteItem(std::size_t index);
    // The first item whose path equals the given one exactly, case included.
    std::optional<THiddenItem> FindItem(const std::string& path) const;
    std::size_t ItemCount() const;
    THiddenItem Item(std::size_t index) const;  // std::out_of_range when there is none
    std::vector<THiddenItem> Items() const;     // a snapshot, in index order

    // Whether the file can hold the path so that it reads back whole: no line break, at most
    // kMaxPathUnits UTF-16 units (a longer one would come back cut, and a show of it would
    // report success on nothing).
    static bool CanStore(std::string_view path);
    static constexpr std::size_t kMaxPathUnits = 2047;

    // Whether a main password is set.
    bool HasPassword() const;
    bool CheckPassword(std::string_view typed) const;
    // Sets (an empty text: clears) the main password. Like any change of the password alone
    // it reaches the file with the next save.
    void SetPassword(std::string_view typed);

private:
    std::string StoreFile() const;
    void ReadLocked(const std::string& file, bool append);
    void SaveLocked(const std::string& file);
    template <class Apply>
    void Change(Apply apply);

    mutable std::mutex mutex_;
    std::string fileName_;  // empty: GetStoreFileName()
    std::vector<THiddenItem> Items_;
    std::string PasswordHash_;  // empty: no main password
    bool passwordChanged_ = false;  // set here and not yet saved
};

// The data folder + "base.dat", created empty when missing (EFileError when it cannot be).
std::string GetStoreFileName();

// The process-wide store: created and loaded by InitHiddenConfig, saved and freed by
// DoneHiddenConfig.
extern std::unique_ptr<THiddenConfig> HiddenItemsStore;
void InitHiddenConfig();
void DoneHiddenConfig();

}  // namespace vantrel
