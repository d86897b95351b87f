#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavrin::bench {

// A fresh folder of its own under $TMPDIR (default /tmp), removed with all it
// holds when the object goes: a benchmark leaves no files behind.
class BenchFolder {
public:
    BenchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            (std::filesystem::path(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") / "tavrin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::string file(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace tavrin::bench
