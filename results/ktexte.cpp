// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ktexte.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "base/io_error.h"
#include "base/texts.h"

namespace duoskop {

namespace {

/// A length-prefixed text: the length byte (taken as at most `capacity`) and the bytes after it.
std::string prefixed_text(std::string_view field, std::size_t capacity)
{
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(field[0]), capacity);
    return std::string(field.substr(1, length));
}

}  // namespace

KtexteLoadResult parse_ktexte(std::string_view bytes, Ktexte& into)
{
    into.ktexte_table.clear();
    into.ktexte_da = false;
    const std::size_t whole = bytes.size() / ktexte_record_size;
    into.ktexte_table.reserve(whole);
    for (std::size_t r = 0; r < whole; ++r) {
        const std::string_view record = bytes.substr(r * ktexte_record_size, ktexte_record_size);
        into.ktexte_table.push_back({prefixed_text(record.substr(0, 1 + ktexte_key_capacity),
                                                   ktexte_key_capacity),
                                     prefixed_text(record.substr(1 + ktexte_key_capacity),
                                                   ktexte_text_capacity)});
    }
    // At least one record is read, and every record whole: anything else is a read past the end.
    if (whole == 0 || bytes.size() % ktexte_record_size != 0)
        return {KtexteOutcome::read_error, io_error_text(0)};
    into.ktexte_da = true;
    return {};
}

KtexteLoadResult load_ktexte(const std::filesystem::path& path, Ktexte& into)
{
    into.ktexte_table.clear();
    into.ktexte_da = false;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return {KtexteOutcome::missing, std::string(texts::kKtexteMissing)};

    std::string bytes;
    char buffer[1 << 14];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        const int error = errno;
        // Whole records read before the failure stay in the table.
        parse_ktexte(bytes.substr(0, bytes.size() - bytes.size() % ktexte_record_size), into);
        into.ktexte_da = false;
        return {KtexteOutcome::read_error, io_error_text(error)};
    }
    return parse_ktexte(bytes, into);
}

KtexteLoadResult load_ktexte(const DriveC& drive, Ktexte& into)
{
    return load_ktexte(drive.resolve("C:\\astro\\KTEXTE.txt"), into);
}

std::string single_meaning(const Ktexte& ktexte, std::string_view key)
{
    for (const KtexteRecord& record : ktexte.ktexte_table)
        if (record.key == key) return record.text;
    return {};
}

}  // namespace duoskop
