// SPDX-License-Identifier: GPL-3.0-or-later
// The picture collection in "C:\PBTX\": per axis pair XXYY an index XXYY.vwt and texts XXYY.txt,
// and the resolution of a result entry XX/YY=AA/BB to its interpretation text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/drive_c.h"
#include "results/ktexte.h"

namespace duoskop {

/// The picture index: 255 slots of 14 bytes (length byte 0..13 + 13 characters).
inline constexpr std::size_t picture_slot_size = 14;
inline constexpr std::size_t picture_slot_count = 255;
inline constexpr std::size_t picture_index_size = picture_slot_size * picture_slot_count;  // 3570
/// Only slots 0..252 take part in the search.
inline constexpr std::size_t picture_searched_slots = 253;

/// A picture text record: 2 unused bytes, then 14 lines of 73 characters in the DOS code page.
inline constexpr std::size_t picture_record_size = 1024;
inline constexpr std::size_t picture_line_length = 73;
inline constexpr std::size_t picture_line_count = 14;
/// A line whose first ten characters are all blanks is left out.
inline constexpr std::size_t picture_blank_prefix = 10;

/// The DOS bytes that the picture texts use for umlauts and sharp s, with their Windows-1252
/// bytes; every other byte stays as it is.
struct DosUmlaut {
    unsigned char dos;
    unsigned char ansi;
};
inline constexpr DosUmlaut dos_umlauts[] = {
    {0x81, 0xFC},  // u umlaut
    {0x84, 0xE4},  // a umlaut
    {0x8E, 0xC4},  // A umlaut
    {0x94, 0xF6},  // o umlaut
    {0x99, 0xD6},  // O umlaut
    {0x9A, 0xDC},  // U umlaut
    {0xE1, 0xDF},  // sharp s
};
static_assert(std::size(dos_umlauts) == 7);

/// The Windows-1252 byte of a DOS byte of a picture text.
unsigned char dos_to_ansi(unsigned char dos);

/// The slot (0..252) of the first slot whose text equals `key` exactly, or nothing.
/// `index` is the 3570-byte index block; slots 253 and 254 are never searched.
std::optional<std::size_t> find_picture_slot(std::span<const unsigned char, picture_index_size> index,
                                             std::string_view key);

/// The lines of a 1024-byte picture text record, converted to Windows-1252, blank lines dropped,
/// kept lines whole (73 characters with their trailing blanks).
std::vector<std::string> picture_text_lines(std::span<const unsigned char, picture_record_size> record);

/// What resolving an entry found out.
struct Resolution {
    bool picture_da = false;  ///< the index file of the entry's axis pair could be opened
    bool found = false;       ///< the picture has a text in the collection
    /// Non-empty when reading the collection failed (index shorter than 3570 bytes, text file
    /// missing or without the record): the I/O error text, and nothing else is to be shown.
    std::string io_error;
    std::vector<std::string> lines;  ///< the kept lines of the picture text, when found
    /// When not found and the single meanings are loaded: the keys (entry characters 1-5 and
    /// 7-11) and their meanings (empty text for a key without a record).
    bool singles = false;
    std::string key1, text1, key2, text2;
};

/// Resolves a result entry XX/YY=AA/BB: looks up AA/BB in "C:\PBTX\XXYY.vwt", reads its record
/// of "C:\PBTX\XXYY.txt", and, failing that, the single meanings of XX/YY and AA/BB. An entry
/// shorter than 11 characters is taken as far as it goes. Reads files only; shows nothing.
Resolution resolve_entry(std::string_view entry, const Ktexte& ktexte, const DriveC& drive);

}  // namespace duoskop
