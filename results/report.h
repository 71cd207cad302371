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

/// Saves `lines` as the file at `path` (created, or replaced without asking) as `text_file_bytes`
/// gives them, whole or not at all: a failure leaves the old file (or none), never a torn one.
/// Returns an empty text on success, else the German I/O error text (Windows-1252).
/// Button1Click passes the result text with its long lines cut into pieces (`saved_lines`).
std::string write_text_file(const std::filesystem::path& path, const std::vector<std::string>& lines);

/// Writes `lines` to the file at `path` (created, or emptied) one after the other, each followed by
/// CR LF, for the export of the texts: on the first failure the writing stops and the lines written
/// before it stay in the file. Returns an empty text on success, else the German I/O error text.
std::string append_text_file(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace duoskop
