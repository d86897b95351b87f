#pragma once

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "common/FileSystem.h"
#include "common/SafeFile.h"
#include "common/RuntimeErrors.h"

namespace pelomar::test {

// An in-memory file system that records every call and can be told to fail.
class FakeFileSystem : public core::FileSystem {
public:
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> calls;  // "append <path>", "rename <from> <to>", ...
    std::set<std::string> folders;   // besides the folders of the files
    std::set<std::string> readOnly;  // files this process may not write
    int temporaries = 0;             // temporary names handed out
    std::multiset<std::string> held;  // one entry per live hold; a test may add its own
    std::map<std::string, std::string> links;  // symbolic link -> the path it holds

    // The n-th append from now (1 = the next) fails with `error` after
    // writing `bytesBeforeFailure` of its bytes (a short write).
    void failAppend(int n, int32_t error, size_t bytesBeforeFailure = 0) {
        appendsUntilFailure_ = n;
        appendError_ = error;
        shortWrite_ = bytesBeforeFailure;
    }
    void failRenamesTo(const std::string& to, int32_t error) { renameFailures_[to] = error; }
    void failTruncates(int32_t error) { truncateError_ = error; }
    void failRemoves(int32_t error) { removeError_ = error; }
    void failReadsOf(const std::string& path, int32_t error) { readFailures_[path] = error; }
    void failWritesOf(const std::string& path, int32_t error) { writeFailures_[path] = error; }

    std::string text(const std::string& path) const {
        auto it = files.find(path);
        return it == files.end() ? std::string() : std::string(it->second.begin(), it->second.end());
    }
    size_t count(const std::string& prefix) const {
        return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
            return c.rfind(prefix, 0) == 0;
        }));
    }

    core::PathKind kindOf(const std::string& path) override {
        if (files.count(path) != 0) return core::PathKind::File;
        if (folders.count(path) != 0) return core::PathKind::Folder;
        const std::string prefix = path + "/";
        for (const auto& f : files) {
            if (f.first.rfind(prefix, 0) == 0) return core::PathKind::Folder;
        }
        return core::PathKind::Missing;
    }
    int32_t checkWritable(const std::string& path) override {
        return readOnly.count(path) != 0 ? core::err::kPathFileAccessError : 0;
    }
    int32_t listFolder(const std::string& folder, std::vector<std::string>& names) override {
        names.clear();
        const std::string prefix = folder + "/";
        for (const auto& f : files) {
            if (f.first.rfind(prefix, 0) == 0 && f.first.find('/', prefix.size()) == std::string::npos) {
                names.push_back(f.first.substr(prefix.size()));
            }
        }
        return 0;
    }
    int32_t writeTemporary(const std::string& target, std::span<const core::ByteView> pieces,
                           core::TemporaryFile& created) override {
        char unique[8];
        std::snprintf(unique, sizeof unique, "T%05d", ++temporaries);
        const std::string name = core::temporaryName(target, unique);
        created = core::TemporaryFile{name, hold(name)};
        std::vector<uint8_t> whole;
        for (const core::ByteView& p : pieces) whole.insert(whole.end(), p.begin(), p.end());
        const int32_t e = writeFile(created.name, whole.data(), whole.size(), true);
        if (e != 0) {
            files.erase(created.name);
            created = core::TemporaryFile{};
        }
        return e;
    }
    int32_t holdFile(const std::string& path, std::unique_ptr<core::FileHold>& h) override {
        files.try_emplace(path);
        h = hold(path);
        return 0;
    }
    // The temporary name the next writeTemporary for `target` uses.
    std::string nextTemporary(const std::string& target) const {
        char unique[8];
        std::snprintf(unique, sizeof unique, "T%05d", temporaries + 1);
        return core::temporaryName(target, unique);
    }
    int32_t fileSize(const std::string& path, uint64_t& size) override {
        auto it = files.find(path);
        if (it == files.end()) return core::err::kFileNotFound;
        size = it->second.size();
        return 0;
    }
    int32_t readFile(const std::string& path, std::vector<uint8_t>& out) override {
        calls.push_back("read " + path);
        if (kindOf(path) == core::PathKind::Folder) return core::err::kPathFileAccessError;
        if (auto f = readFailures_.find(path); f != readFailures_.end()) return f->second;
        auto it = files.find(path);
        if (it == files.end()) return core::err::kFileNotFound;
        out = it->second;
        return 0;
    }
    int32_t readFileInto(const std::string& path, std::span<uint8_t> out, size_t& size) override {
        size = 0;
        std::vector<uint8_t> bytes;
        if (const int32_t e = readFile(path, bytes)) return e;
        size = std::min(out.size(), bytes.size());
        std::copy_n(bytes.begin(), size, out.begin());
        return 0;
    }
    int32_t writeFile(const std::string& path, const uint8_t* data, size_t size, bool flush) override {
        calls.push_back(std::string(flush ? "write+flush " : "write ") + path);
        if (auto f = writeFailures_.find(path); f != writeFailures_.end()) {
            files[path].assign(data, data + size / 2);  // a torn write
            return f->second;
        }
        files[path].assign(data, data + size);
        return 0;
    }
    int32_t appendFile(const std::string& path, const uint8_t* data, size_t size, bool flush) override {
        calls.push_back(std::string(flush ? "append+flush " : "append ") + path);
        std::vector<uint8_t>& f = files[path];
        if (appendsUntilFailure_ > 0 && --appendsUntilFailure_ == 0) {
            f.insert(f.end(), data, data + std::min(size, shortWrite_));
            return appendError_;
        }
        f.insert(f.end(), data, data + size);
        return 0;
    }
    int32_t truncateFile(const std::string& path, uint64_t size) override {
        calls.push_back("truncate " + path);
        if (truncateError_ != 0) return truncateError_;
        auto it = files.find(path);
        if (it == files.end()) return core::err::kFileNotFound;
        it->second.resize(size);
        return 0;
    }
    int32_t renameFile(const std::string& from, const std::string& to) override {
        calls.push_back("rename " + from + " " + to);
        if (auto f = renameFailures_.find(to); f != renameFailures_.end()) return f->second;
        auto it = files.find(from);
        if (it == files.end()) return core::err::kFileNotFound;
        files[to] = std::move(it->second);
        files.erase(from);
        return 0;
    }
    int32_t removeFile(const std::string& path) override {
        calls.push_back("remove " + path);
        if (removeError_ != 0) return removeError_;
        return files.erase(path) == 1 ? 0 : core::err::kFileNotFound;
    }
    int32_t removeUnheld(const std::string& path) override {
        calls.push_back("remove-unheld " + path);
        if (held.count(path) != 0) return core::err::kPermissionDenied;
        if (removeError_ != 0) return removeError_;
        return files.erase(path) == 1 ? 0 : core::err::kFileNotFound;
    }
    int32_t resolveLinks(const std::string& path, std::string& file) override {
        file = path;
        for (int hop = 0; hop <= 40; ++hop) {
            auto it = links.find(file);
            if (it == links.end()) return 0;
            file = it->second[0] == '/' ? it->second : core::folderOf(file) + "/" + it->second;
        }
        return core::err::kPathFileAccessError;
    }

private:
    class Hold : public core::FileHold {
    public:
        Hold(std::multiset<std::string>& held, const std::string& path) : held_(held), at_(held.insert(path)) {}
        ~Hold() override { held_.erase(at_); }

    private:
        std::multiset<std::string>& held_;
        std::multiset<std::string>::iterator at_;
    };
    std::unique_ptr<core::FileHold> hold(const std::string& path) { return std::make_unique<Hold>(held, path); }

    int appendsUntilFailure_ = 0;
    int32_t appendError_ = 0;
    size_t shortWrite_ = 0;
    int32_t truncateError_ = 0;
    int32_t removeError_ = 0;
    std::map<std::string, int32_t> renameFailures_;
    std::map<std::string, int32_t> readFailures_;
    std::map<std::string, int32_t> writeFailures_;
};

}  // namespace pelomar::test
