// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers for the interpretation text files: builders of the binary records of KTEXTE.txt and of the picture collection.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/core/test_support.h"

namespace duoskop::text_testing {

using test_support::TempDir;

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
inline std::string picture_index(const std::vector<std::pair<int, std::string>>& keys)
{
    std::string index(3570, '\0');
    for (const auto& [slot, key] : keys) {
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
