#include "platform/ini.h"

#include "platform/atomic_file.h"
#include "platform/ini_document.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace kovrel::platform {

namespace fs = std::filesystem;
using ini_detail::IniDocument;
using ini_detail::TrimBlanks;

namespace {

// What identifies one version of a file: a write through WriteFileAtomically makes a new inode,
// an edit in place changes the modification time or size.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0, changedNanoseconds = 0;

    static FileStamp Of(const struct stat& st) {
        return {st.st_dev,          st.st_ino,         st.st_size,        st.st_mtim.tv_sec,
                st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    }
    bool operator==(const FileStamp&) const = default;
};

// Parsed files by path, checked against the file's stamp at every use, so a change made by
// anyone is seen at the next read. The skin reads hundreds of keys from a few files at start.
class IniCache {
public:
    // The document of the file, or null when it cannot be read (missing, a folder, no access).
    std::shared_ptr<const IniDocument> Load(const fs::path& file) {
        struct stat st {};
        if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            Forget(file);
            return nullptr;
        }
        const std::string key = file.string();
        {
            std::lock_guard lock(mutex_);
            if (auto it = entries_.find(key);
                it != entries_.end() && it->second.stamp == FileStamp::Of(st)) {
                it->second.lastUse = ++clock_;
                return it->second.document;
            }
        }
        FileStamp stamp;
        std::string bytes;
        if (!ReadWhole(file, bytes, stamp))
            return nullptr;
        auto document = std::make_shared<const IniDocument>(IniDocument::Parse(bytes));
        std::lock_guard lock(mutex_);
        if (entries_.size() >= kMaxEntries && !entries_.contains(key))
            EvictOldest();
        entries_[key] = Entry{stamp, document, ++clock_};
        return document;
    }

    void Forget(const fs::path& file) {
        std::lock_guard lock(mutex_);
        entries_.erase(file.string());
    }

private:
    static constexpr std::size_t kMaxEntries = 64;

    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const IniDocument> document;
        std::uint64_t lastUse = 0;
    };

    static bool ReadWhole(const fs::path& file, std::string& bytes, FileStamp& stamp) {
        int fd;
        do {
            fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0)
            return false;
        struct stat st {};
        bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        if (ok) {
            stamp = FileStamp::Of(st);
            bytes.clear();
            bytes.reserve(static_cast<std::size_t>(st.st_size));
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0) {
                    ok = false;
                    break;
                }
                if (n == 0)
                    break;
                bytes.append(buffer, static_cast<std::size_t>(n));
            }
        }
        ::close(fd);
        return ok;
    }

    void EvictOldest() {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        if (oldest != entries_.end())
            entries_.erase(oldest);
    }

    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::uint64_t clock_ = 0;
};

IniCache& Cache() {
    static IniCache cache;
    return cache;
}

// Read-modify-write of a file is one step for all threads, so two writers never lose each
// other's keys (the platform's profile functions serialise the same way).
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

std::u16string CutToCapacity(std::u16string text, std::size_t capacity) {
    if (capacity == 0)
        return {};
    if (text.size() > capacity - 1) {
        text.resize(capacity - 1);
        // Never end on the first half of a surrogate pair: that would be an invalid text.
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
            text.pop_back();
    }
    return text;
}

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

} // namespace

std::optional<std::u16string> FindIniValue(std::u16string_view section, std::u16string_view key,
                                           const fs::path& file) {
    const auto document = Cache().Load(file);
    if (!document)
        return std::nullopt;
    const std::u16string* value = document->Find(TrimBlanks(section), TrimBlanks(key));
    if (!value)
        return std::nullopt;
    return *value;
}

std::u16string ReadIniString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue, const fs::path& file,
                             std::size_t capacity) {
    if (std::optional<std::u16string> value = FindIniValue(section, key, file))
        return CutToCapacity(std::move(*value), capacity);
    while (!defaultValue.empty() && (defaultValue.back() == u' ' || defaultValue.back() == u'\t'))
        defaultValue.remove_suffix(1);
    return CutToCapacity(std::u16string(defaultValue), capacity);
}

int ReadIniInt(std::u16string_view section, std::u16string_view key, int defaultValue,
               const fs::path& file) {
    const std::optional<std::u16string> value = FindIniValue(section, key, file);
    if (!value)
        return defaultValue;
    std::u16string_view text = *value;
    while (!text.empty() && ini_detail::IsBlank(text.front()))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < u'0' || text.front() > u'9')
        return defaultValue;
    // Too many digits saturate instead of wrapping around.
    std::int64_t number = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        number = number * 10 + (c - u'0');
        if (number > std::int64_t(INT_MAX) + 1)
            number = std::int64_t(INT_MAX) + 1;
    }
    if (negative)
        number = -number;
    if (number > INT_MAX)
        number = INT_MAX;
    return static_cast<int>(number);
}

bool WriteIniString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                    const fs::path& file) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(u']') != std::u16string_view::npos ||
        key.find(u'=') != std::u16string_view::npos || key.front() == u';' || key.front() == u'[')
        return false;

    std::lock_guard lock(WriteMutex());
    IniDocument document;
    if (auto existing = Cache().Load(file)) {
        document = *existing;
    } else {
        // Not readable: only a missing file may be created; anything else stays untouched.
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 || errno != ENOENT)
            return false;
    }
    if (!document.Set(section, key, value))
        return true;
    const bool written = WriteFileAtomically(file, document.Serialize());
    Cache().Forget(file);
    return written;
}

} // namespace kovrel::platform
