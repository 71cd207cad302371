// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/pictures.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

#include "base/io_error.h"

namespace duoskop {

namespace {

/// Characters `first`..`first + count - 1` (counted from 1) of `text`, as far as it goes.
std::string_view chars(std::string_view text, std::size_t first, std::size_t count)
{
    if (first - 1 >= text.size()) return {};
    return text.substr(first - 1, count);
}

}  // namespace

unsigned char dos_to_ansi(unsigned char dos)
{
    // One table of all 256 bytes, made from `dos_umlauts`: a picture text has 1022 bytes to convert.
    static constexpr std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (std::size_t b = 0; b < t.size(); ++b) t[b] = static_cast<unsigned char>(b);
        for (const DosUmlaut& u : dos_umlauts) t[u.dos] = u.ansi;
        return t;
    }();
    return table[dos];
}

std::optional<std::size_t> find_picture_slot(std::span<const unsigned char, picture_index_size> index,
                                             std::string_view key)
{
    for (std::size_t k = 0; k < picture_searched_slots; ++k) {
        const unsigned char* slot = index.data() + k * picture_slot_size;
        const std::size_t length = std::min<std::size_t>(slot[0], picture_slot_size - 1);
        if (length == key.size() &&
            std::equal(key.begin(), key.end(), slot + 1,
                       [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; }))
            return k;
    }
    return std::nullopt;
}

std::vector<std::string> picture_text_lines(std::span<const unsigned char, picture_record_size> record)
{
    std::vector<std::string> lines;
    for (std::size_t l = 0; l < picture_line_count; ++l) {
        const unsigned char* begin = record.data() + 2 + l * picture_line_length;
        std::string line(picture_line_length, ' ');
        std::transform(begin, begin + picture_line_length, line.begin(),
                       [](unsigned char c) { return static_cast<char>(dos_to_ansi(c)); });
        const bool blank = std::all_of(line.begin(), line.begin() + picture_blank_prefix,
                                       [](char c) { return c == ' '; });
        if (!blank) lines.push_back(std::move(line));
    }
    return lines;
}

Resolution resolve_entry(std::string_view entry, const Ktexte& ktexte, const DriveC& drive)
{
    Resolution r;
    const std::string base = "C:\\PBTX\\" + std::string(chars(entry, 1, 2)) + std::string(chars(entry, 4, 2));

    r.picture_da = true;
    if (const File index_file(std::fopen(drive.resolve(base + ".vwt").c_str(), "rb")); !index_file) {
        r.picture_da = false;
    } else {
        std::array<unsigned char, picture_index_size> index{};
        if (std::fread(index.data(), 1, index.size(), index_file.get()) != index.size()) {
            r.io_error = read_error_text(index_file.get());
            return r;
        }
        if (const auto slot = find_picture_slot(index, chars(entry, 7, 5))) {
            const File text_file(std::fopen(drive.resolve(base + ".txt").c_str(), "rb"));
            if (!text_file) {
                r.io_error = io_error_text(errno);
                return r;
            }
            std::array<unsigned char, picture_record_size> record{};
            const long offset = static_cast<long>(*slot * picture_record_size);
            if (std::fseek(text_file.get(), offset, SEEK_SET) != 0) {
                r.io_error = io_error_text(errno);
                return r;
            }
            if (std::fread(record.data(), 1, record.size(), text_file.get()) != record.size()) {
                r.io_error = read_error_text(text_file.get());
                return r;
            }
            r.found = true;
            r.lines = picture_text_lines(record);
        }
    }

    if (!r.found && ktexte.ktexte_da) {
        r.singles = true;
        r.key1 = std::string(chars(entry, 1, 5));
        r.key2 = std::string(chars(entry, 7, 5));
        r.text1 = single_meaning(ktexte, r.key1);
        r.text2 = single_meaning(ktexte, r.key2);
    }
    return r;
}

}  // namespace duoskop
