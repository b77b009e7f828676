// The settings file as anyone could have edited it: whatever loads must save and load again to
// the same values, what is saved is never too large to be read, and nothing the file holds may
// crash the reader.
#include "platform/system/JsonFileUserDefaults.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

bool sameValue(const platform::DefaultsValue& a, const platform::DefaultsValue& b) {
    // NaN is kept as NaN, which never equals itself.
    if (const auto* x = std::get_if<double>(&a); x && std::isnan(*x)) {
        const auto* y = std::get_if<double>(&b);
        return y && std::isnan(*y);
    }
    return a == b;
}

// A folder of this process's own; libFuzzer may end the process without running exit handlers, so
// each input removes it again.
const std::filesystem::path& workFolder() {
    static const std::filesystem::path folder = [] {
        // Every save syncs the file to disk; in memory that costs nothing, on a disk it halts the run.
        std::error_code error;
        const auto base = std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        return base / ("zentaris-fuzz-settings-" + std::to_string(::getpid()));
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::create_directories(workFolder());
    const auto file = workFolder() / "defaults.json";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        platform::JsonFileUserDefaults first(file);
        // A write of a key that is then removed again makes the store save what it loaded.
        first.set("fuzz.roundTrip", true);
        first.removeObject("fuzz.roundTrip");
        // Never a file that the next start would refuse.
        std::error_code error;
        if (std::filesystem::file_size(file, error) > platform::JsonFileUserDefaults::maximumFileSize && !error) std::abort();

        platform::JsonFileUserDefaults second(file);
        if (first.allKeys() != second.allKeys()) std::abort();
        for (const auto& key : first.allKeys()) {
            if (!sameValue(*first.object(key), *second.object(key))) std::abort();
        }
    }
    // A file moved aside leaves a copy next to it; every input starts from no folder at all.
    std::filesystem::remove_all(workFolder());
    return 0;
}
