#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zentaris {

// The texts of one interface language: the folder <code>.lproj and its messages.txt.
//
// messages.txt holds one text per line as `key = value`. Blank lines and lines starting with `#`
// are ignored. Spaces around the `=` are dropped; in a value, `\n` is a line break, `\t` a tab and
// `\\` a backslash. Keys are snake_case identifiers or short English phrases and never contain `=`.
class LanguageBundle {
public:
    struct Problem {
        std::filesystem::path file;
        int line;
        std::string message;
    };

    LanguageBundle() = default;
    explicit LanguageBundle(std::map<std::string, std::string> texts) : texts_(std::move(texts)) {}

    // Opens a language folder; nothing when the folder does not exist. Malformed lines are skipped
    // and reported on standard error, a few per file. A messages file is read once per process
    // (again only once it has changed); one that is not a regular file or is larger than
    // maxFileBytes is not read, with one line saying so, and the folder has no texts.
    static std::optional<LanguageBundle> open(const std::filesystem::path& folder);
    // Parses the text of a messages file (the path only names it in reports).
    static LanguageBundle parse(const std::string& text, const std::filesystem::path& file);

    // The text of `key`, or `fallback` when this language has none.
    std::string localizedString(const std::string& key, const std::string& fallback) const;
    bool contains(const std::string& key) const { return texts_.count(key) != 0; }
    const std::map<std::string, std::string>& texts() const { return texts_; }
    // The first maxReportedProblems problems of the file, and how many there are in all.
    const std::vector<Problem>& problems() const { return problems_; }
    std::size_t problemCount() const { return problemCount_; }
    const std::filesystem::path& folder() const { return folder_; }

    static constexpr const char* messagesFileName = "messages.txt";
    // Far above any translation (the largest is about 20 KB).
    static constexpr std::size_t maxFileBytes = 1024 * 1024;
    static constexpr std::size_t maxReportedProblems = 10;

private:
    std::filesystem::path folder_;
    std::map<std::string, std::string> texts_;
    std::vector<Problem> problems_;
    std::size_t problemCount_ = 0;

    void addProblem(const std::filesystem::path& file, int line, std::string message);
    void reportProblems() const;
};

} // namespace zentaris
