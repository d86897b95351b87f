#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelomar::test {

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> golden(const std::string& name) {
    return readBytes(std::string(TAVRIN_TEST_DATA) + "/" + name);
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Names in the folder of `path` that a write of it may leave: hidden names
// that begin with its own name, and its name with ".new" added.
inline std::vector<std::string> temporariesOf(const std::string& path) {
    const std::filesystem::path p(path);
    const std::string name = p.filename().string();
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(p.parent_path())) {
        const std::string n = e.path().filename().string();
        if (n.rfind("." + name, 0) == 0 || n == name + ".new") out.push_back(n);
    }
    return out;
}

}  // namespace pelomar::test
