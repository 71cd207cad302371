// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file that replaces another: whole or not at all.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace duoskop {

/// What a write left: 0 when everything was written, flushed and in place, else the errno value
/// of the first failure (EEXIST when the file existed and replacing it was refused).
struct WriteResult {
    int error = 0;
    bool ok() const { return error == 0; }
    /// The German I/O error text (Windows-1252) of the failure, as the error boxes show it.
    std::string message() const;
};

enum class Replace { allowed, refused };

/// Writes `bytes` as the whole new content of `path`: into a temporary file in the same folder,
/// flushed to disk and closed, then renamed onto `path` in one step. A failure at any point leaves
/// the old file as it was (or no file) and removes the temporary file. With `Replace::refused`
/// an existing file at `path` is never touched, even one that appears while writing.
/// New files get the permissions 0666 less the umask.
WriteResult write_file_whole(const std::filesystem::path& path, std::string_view bytes,
                             Replace replace = Replace::allowed);

}  // namespace duoskop
