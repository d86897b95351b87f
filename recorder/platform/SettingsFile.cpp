#include "platform/SettingsFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/PosixFileSystem.h"
#include "common/RuntimeError.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "common/UserFolders.h"

namespace tavrin {

namespace {

// Settings are the user's own: new files are not for others to read.
pelomar::core::FileSystem& files() {
    static pelomar::core::PosixFileSystem posix(0600);
    return posix;
}

[[noreturn]] void raiseErrno() { throw pelomar::RuntimeError(pelomar::core::errorFromErrno(errno)); }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) return false;
    }
    return true;
}

// Backslash escapes for line breaks and for the characters that give a line
// its meaning, so any text survives a round trip.
std::string escaped(std::string_view text, std::string_view special) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (special.find(c) != std::string_view::npos) out += '\\', out += c;
        else out += c;
    }
    return out;
}

// Reads up to an unescaped stop character; pos ends on it (or at the end).
std::string unescaped(std::string_view line, size_t& pos, char stop) {
    std::string out;
    while (pos < line.size() && line[pos] != stop) {
        char c = line[pos++];
        if (c == '\\' && pos < line.size()) {
            c = line[pos++];
            if (c == 'n') c = '\n';
            else if (c == 'r') c = '\r';
        }
        out += c;
    }
    return out;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    const std::string base = pelomar::core::configHome();
    (void)::mkdir(base.c_str(), 0700);
    const std::string folder = pelomar::core::programConfigFolder();
    (void)::mkdir(folder.c_str(), 0700);
    return folder + "/settings.ini";
}

SettingsFile::Document SettingsFile::parse(const std::string& text) {
    Document document;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        size_t pos = 0;
        if (line[0] == '[') {
            pos = 1;
            document.push_back({unescaped(line, pos, ']'), {}});
            continue;
        }
        // Values before any section header have nowhere to belong.
        if (document.empty()) continue;
        std::string key = unescaped(line, pos, '=');
        if (pos >= line.size()) continue;
        ++pos;
        std::string value = unescaped(line, pos, '\0');
        document.back().values.emplace_back(std::move(key), std::move(value));
    }
    return document;
}

std::string SettingsFile::format(const Document& document) {
    std::string text;
    for (const Section& section : document) {
        text += '[' + escaped(section.name, "]") + "]\n";
        for (const auto& [key, value] : section.values)
            text += escaped(key, key.empty() || key[0] == ';' || key[0] == '[' ? "=;[" : "=") + '=' +
                    escaped(value, std::string_view("\0", 1)) + '\n';
    }
    return text;
}

SettingsFile::Document SettingsFile::read() const {
    std::vector<uint8_t> bytes;
    if (const int32_t e = files().readFile(path_, bytes)) {
        if (e == pelomar::core::err::kFileNotFound) return {};
        throw pelomar::RuntimeError(e);
    }
    return parse(std::string(bytes.begin(), bytes.end()));
}

template <typename Change>
void SettingsFile::change(Change&& apply) {
    // The settings file itself is replaced on every change, so the lock
    // lives on a file that stays.
    FileDescriptor lock(::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() < 0) raiseErrno();
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR) raiseErrno();

    Document document = read();
    if (!apply(document)) return;

    const std::string text = format(document);
    // A settings file that is a symbolic link stays one: the file it names
    // takes the change.
    std::string target;
    if (const int32_t e = files().resolveLinks(path_, target)) throw pelomar::RuntimeError(e);
    if (const int32_t e = pelomar::core::replaceThroughTemporary(
            files(), target, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        throw pelomar::RuntimeError(e);
}

std::string SettingsFile::GetSetting(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    for (const Section& s : read()) {
        if (!sameName(s.name, section)) continue;
        for (const auto& [name, value] : s.values)
            if (sameName(name, key)) return value;
    }
    return defaultValue;
}

void SettingsFile::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
    change([&](Document& document) {
        for (Section& s : document) {
            if (!sameName(s.name, section)) continue;
            for (auto& pair : s.values)
                if (sameName(pair.first, key)) {
                    pair.second = value;
                    return true;
                }
            s.values.emplace_back(key, value);
            return true;
        }
        document.push_back({section, {{key, value}}});
        return true;
    });
}

void SettingsFile::DeleteSetting(const std::string& section, const std::string& key) {
    change([&](Document& document) {
        bool changed = false;
        for (Section& s : document)
            if (sameName(s.name, section))
                changed |= std::erase_if(s.values, [&](const auto& p) { return sameName(p.first, key); }) > 0;
        return changed;
    });
}

void SettingsFile::DeleteSection(const std::string& section) {
    change([&](Document& document) {
        return std::erase_if(document, [&](const Section& s) { return sameName(s.name, section); }) > 0;
    });
}

SettingsStore::Pairs SettingsFile::GetAllSettings(const std::string& section) const {
    for (const Section& s : read())
        if (sameName(s.name, section)) return s.values;
    return {};
}

}  // namespace tavrin
