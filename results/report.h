// SPDX-License-Identifier: GPL-3.0-or-later
// Writing texts to files: the saved result text and the exported interpretation texts.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace duoskop {

/// The bytes of a text file of `lines`: each line's Windows-1252 bytes unchanged, followed by
/// CR LF; no header, no byte-order mark. No lines give no bytes.
std::string text_file_bytes(const std::vector<std::string>& lines);

/// Creates (or overwrites without asking) the file at `path` and writes `lines` as
/// `text_file_bytes` does. Returns an empty text on success, else the German I/O error text
/// (Windows-1252) of the first failing step; lines written before it stay written.
/// Button1Click passes the result text as the memo shows it (wrapped lines as their pieces).
std::string write_text_file(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace duoskop
