// SPDX-License-Identifier: GPL-3.0-or-later
// What the chart index tells the user about its folders before he acts: where a copy of a chart
// can be written, and which subfolders it cannot read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace duoskop {

/// Whether `folder` (relative to `root`, UTF-8, empty for `root` itself) has room for the chart
/// file of a person named `name_cp1252`: no file of that name there in any case of a-z.
bool chart_name_free(const std::filesystem::path& root, const std::string& folder, std::string_view name_cp1252);

/// The folder (relative to `root`, UTF-8, empty for `root`) proposed for a copy of the chart of
/// `name_cp1252` that lies in `from_folder`: that folder when the file name is free there, else the
/// first of `folders` where it is free, else a new subfolder "Kopie", "Kopie 2", … of `root`.
std::string copy_folder(const std::filesystem::path& root, std::string_view name_cp1252,
                        const std::string& from_folder, const std::vector<std::string>& folders);

/// The folders among `folders` whose files cannot be listed, relative to `root` ('/'-separated,
/// UTF-8), in the given order.
std::vector<std::string> unreadable_folders(const std::filesystem::path& root,
                                            const std::vector<std::filesystem::path>& folders);

}  // namespace duoskop
