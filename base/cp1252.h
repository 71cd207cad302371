// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between the program's Windows-1252 texts and UTF-8 (file names, terminals, widgets).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duoskop {

/// UTF-8 text of a Windows-1252 byte string (the five unassigned bytes become U+FFFD).
std::string cp1252_to_utf8(std::string_view text);
/// Windows-1252 bytes of a UTF-8 text, or nothing when a character has no Windows-1252 byte
/// or the text is not valid UTF-8.
std::optional<std::string> utf8_to_cp1252(std::string_view text);
/// Windows-1252 text of a Linux file name or path (bytes, mostly UTF-8) for the program's messages:
/// each character without a Windows-1252 byte becomes '?', each byte that begins no well-formed
/// UTF-8 sequence is kept as the Windows-1252 byte it is (an old Latin-1 file name shows right).
std::string cp1252_of_file_name(std::string_view name);
/// `text` as valid UTF-8 for display: each byte that does not belong to a well-formed sequence
/// becomes U+FFFD (for Linux file names, which are bytes, shown in UTF-8 messages).
std::string valid_utf8(std::string_view text);

}  // namespace duoskop
