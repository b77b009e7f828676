#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace zentaris::bench {

// A settings folder of its own: in memory where there is one, when the disk is not what is
// measured (a change flushes the file to disk), else in the temporary folder as users have it.
class BenchFolder {
public:
    enum class Where { memory, disk };
    explicit BenchFolder(Where where) {
        std::error_code error;
        const auto base = where == Where::memory && std::filesystem::is_directory("/dev/shm", error) &&
                                  ::access("/dev/shm", W_OK) == 0
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / "zentaris-bench-settings-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : (base / "zentaris-bench-settings").string();
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(const std::string& text) const {
        const auto path = path_ / "defaults.json";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return path;
    }

private:
    std::filesystem::path path_;
};

} // namespace zentaris::bench
