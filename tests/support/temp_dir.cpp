#include "temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace quillscan::testing {

// A random name, retried while taken: create_directory reports whether it made the folder
// itself, so no two tests share one. Portable where mkdtemp is not (Windows).
TempDir::TempDir() {
    std::mt19937_64 random(std::random_device{}());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = base / ("quillscan-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no free name for a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quillscan::testing
