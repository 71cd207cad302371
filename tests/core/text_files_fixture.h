// Test helpers for the interpretation text files: a throw-away drive C and builders of the
// binary records of KTEXTE.txt and of the picture collection.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace duoskop::text_testing {

/// A fresh directory under the temporary directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "duoskop-texts-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    /// Writes `bytes` to the file at `relative` (directories are made as needed).
    std::filesystem::path write(const std::filesystem::path& relative, const std::string& bytes) const
    {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    std::string read(const std::filesystem::path& relative) const
    {
        std::ifstream in(path_ / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};

/// One 87-byte record of KTEXTE.txt; the length bytes may be given beyond the field sizes.
inline std::string ktexte_record(const std::string& key, const std::string& text, int key_length = -1,
                                 int text_length = -1)
{
    std::string record(87, 'x');
    record[0] = static_cast<char>(key_length < 0 ? key.size() : static_cast<std::size_t>(key_length));
    record.replace(1, key.size(), key);
    record[6] = static_cast<char>(text_length < 0 ? text.size() : static_cast<std::size_t>(text_length));
    record.replace(7, text.size(), text);
    return record;
}

/// A 3570-byte picture index with `key` in each given slot; the other slots empty.
inline std::string picture_index(const std::vector<std::pair<int, std::string>>& slots)
{
    std::string index(3570, '\0');
    for (const auto& [slot, key] : slots) {
        index[static_cast<std::size_t>(slot) * 14] = static_cast<char>(key.size());
        index.replace(static_cast<std::size_t>(slot) * 14 + 1, key.size(), key);
    }
    return index;
}

/// A 1024-byte picture text record of the given lines (DOS bytes), padded with blanks.
inline std::string picture_record(const std::vector<std::string>& lines)
{
    std::string record = "\x01\x02";
    for (std::size_t l = 0; l < 14; ++l) {
        std::string line = l < lines.size() ? lines[l] : std::string();
        line.resize(73, ' ');
        record += line;
    }
    return record;
}

}  // namespace duoskop::text_testing
