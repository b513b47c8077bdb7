#include "hide/HiddenConfig.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include "app/AppFolders.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

namespace vantrel {

std::unique_ptr<THiddenConfig> HiddenItemsStore;

namespace {

// Beyond this a "Count" is taken as damage, not as items still to come: each missing index
// becomes an empty item, and a damaged count must not make start-up build millions of them.
constexpr long long kMaxItemCount = 1 << 20;

long long ReadNumber(const TIniFile& ini, const std::string& section, const char* key) {
    const std::string text = ini.ReadString(section, key, "");
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    long long value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && end != first ? value : 0;
}

void EnsureSodium() {
    if (::sodium_init() < 0) throw std::runtime_error("libsodium cannot be initialised");
}

bool IsPasswordHash(std::string_view value) {
    return value.starts_with("$argon2id$") || value.starts_with("$argon2i$");
}

std::string HashPassword(std::string_view typed) {
    EnsureSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (::crypto_pwhash_str(hash, typed.data(), typed.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                            crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("Out of memory while hashing the main password");
    return hash;
}

// An exclusive advisory lock on the store for one change, held on a file of its own: the
// store itself is replaced by every save, and a lock on a replaced file guards nothing.
class TStoreLock {
public:
    explicit TStoreLock(const std::string& storeFile) {
        fd_ = ::open((storeFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        int code = fd_ < 0 ? errno : 0;
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            code = errno;
            ::close(fd_);
            fd_ = -1;
        }
        if (fd_ < 0) throw EProfileError("Unable to write to " + storeFile + ": " + std::strerror(code));
    }
    ~TStoreLock() { ::close(fd_); }  // closing releases the lock
    TStoreLock(const TStoreLock&) = delete;
    TStoreLock& operator=(const TStoreLock&) = delete;

private:
    int fd_ = -1;
};

bool SameItem(const THiddenItem& a, const THiddenItem& b) { return a.ItemType == b.ItemType && a.FilePath == b.FilePath; }

}  // namespace

std::string GetStoreFileName() {
    const std::string file = GetDataFolder() + "base.dat";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int code = errno;
        throw EFileError("Cannot create file " + file + ": " + std::strerror(code), code);
    }
    ::close(fd);
    return file;
}

THiddenConfig::THiddenConfig() = default;

THiddenConfig::THiddenConfig(std::string fileName) : fileName_(std::move(fileName)) {}

std::string THiddenConfig::StoreFile() const { return fileName_.empty() ? GetStoreFileName() : fileName_; }

void THiddenConfig::ReadLocked(const std::string& file, bool append) {
    const TIniFile ini(file);
    if (!passwordChanged_) {
        std::string stored = ini.ReadString("Password", "Password", "");
        if (stored.empty() || IsPasswordHash(stored)) {
            PasswordHash_ = stored;
        } else {
            PasswordHash_ = HashPassword(stored);
            ::sodium_memzero(stored.data(), stored.size());
        }
    }
    if (!append) Items_.clear();
    const long long n = std::min(ReadNumber(ini, "Count", "Count"), kMaxItemCount);
    for (long long i = 0; i < n; ++i) {
        const std::string section = "Item" + std::to_string(i);
        THiddenItem item;
        item.ItemType =
            static_cast<std::uint8_t>(static_cast<unsigned long long>(ReadNumber(ini, section, "ItemType")) & 0xFF);
        item.FilePath = ini.ReadString(section, "FilePath", "");
        Items_.push_back(std::move(item));
    }
}

void THiddenConfig::Load() {
    std::lock_guard lock(mutex_);
    ReadLocked(StoreFile(), true);
}

void THiddenConfig::Reload() {
    std::lock_guard lock(mutex_);
    ReadLocked(StoreFile(), false);
}

// Lock the file, read it afresh, apply, save. When the save fails, memory goes back to what
// the file holds, so nothing looks recorded that is not.
template <class Apply>
void THiddenConfig::Change(Apply apply) {
    const std::string file = StoreFile();
    TStoreLock fileLock(file);
    ReadLocked(file, false);
    const std::vector<THiddenItem> before = Items_;
    apply();
    try {
        SaveLocked(file);
    } catch (...) {
        Items_ = before;
        throw;
    }
    passwordChanged_ = false;
}

void THiddenConfig::Save() {
    std::lock_guard lock(mutex_);
    Change([] {});
}

void THiddenConfig::SaveLocked(const std::string& file) {
    TIniFile ini(file);
    ini.WriteString("Password", "Password", PasswordHash_);
    ini.WriteString("Count", "Count", std::to_string(Items_.size()));
    for (const auto& section : ini.Sections())
        if (section.find("Item") != std::string::npos) ini.EraseSection(section);
    for (std::size_t i = 0; i < Items_.size(); ++i) {
        const std::string section = "Item" + std::to_string(i);
        ini.WriteString(section, "ItemType", std::to_string(Items_[i].ItemType));
        ini.WriteString(section, "FilePath", Items_[i].FilePath);
    }
    ini.Save();
}

bool THiddenConfig::CanStore(std::string_view path) {
    static_assert(kMaxPathUnits == kProfileValueLimit);
    return ReadsBackWhole(path);
}

void THiddenConfig::AddItem(std::uint8_t itemType, const std::string& path) {
    std::lock_guard lock(mutex_);
    // Such an item would fail every later save or come back cut, so it never joins the list.
    if (!CanStore(path)) throw EProfileError("Unable to write to " + StoreFile());
    const THiddenItem item{itemType, path};
    Change([&] {
        if (std::none_of(Items_.begin(), Items_.end(), [&](const auto& i) { return SameItem(i, item); }))
            Items_.push_back(item);
    });
}

void THiddenConfig::DeleteItem(std::size_t index) {
    std::lock_guard lock(mutex_);
    if (index >= Items_.size()) throw std::out_of_range("No hidden item " + std::to_string(index));
    const THiddenItem seen = Items_[index];
    Change([&] {
        auto at = Items_.end();
        if (index < Items_.size() && SameItem(Items_[index], seen))
            at = Items_.begin() + std::ptrdiff_t(index);
        else
            at = std::find_if(Items_.begin(), Items_.end(), [&](const auto& i) { return SameItem(i, seen); });
        if (at != Items_.end()) Items_.erase(at);  // else another process has removed it already
    });
}

std::optional<THiddenItem> THiddenConfig::FindItem(const std::string& path) const {
    std::lock_guard lock(mutex_);
    for (const auto& item : Items_)
        if (item.FilePath == path) return item;
    return std::nullopt;
}

std::size_t THiddenConfig::ItemCount() const {
    std::lock_guard lock(mutex_);
    return Items_.size();
}

THiddenItem THiddenConfig::Item(std::size_t index) const {
    std::lock_guard lock(mutex_);
    return Items_.at(index);
}

std::vector<THiddenItem> THiddenConfig::Items() const {
    std::lock_guard lock(mutex_);
    return Items_;
}

bool THiddenConfig::HasPassword() const {
    std::lock_guard lock(mutex_);
    return !PasswordHash_.empty();
}

bool THiddenConfig::CheckPassword(std::string_view typed) const {
    std::string hash;
    {
        std::lock_guard lock(mutex_);
        hash = PasswordHash_;
    }
    if (hash.empty()) return false;
    EnsureSodium();
    // The check takes a while by design; the store stays usable meanwhile.
    return ::crypto_pwhash_str_verify(hash.c_str(), typed.data(), typed.size()) == 0;
}

void THiddenConfig::SetPassword(std::string_view typed) {
    std::string hash = typed.empty() ? std::string() : HashPassword(typed);
    std::lock_guard lock(mutex_);
    PasswordHash_ = std::move(hash);
    passwordChanged_ = true;
}

void InitHiddenConfig() {
    HiddenItemsStore = std::make_unique<THiddenConfig>();
    HiddenItemsStore->Load();
}

void DoneHiddenConfig() {
    if (!HiddenItemsStore) return;
    // Freed even when the last save fails; the error still reaches the caller.
    std::unique_ptr<THiddenConfig> store = std::move(HiddenItemsStore);
    store->Save();
}

}  // namespace vantrel
