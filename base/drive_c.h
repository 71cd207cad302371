// SPDX-License-Identifier: GPL-3.0-or-later
// Drive C: the directory that stands in for the fixed Windows paths of the program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace duoskop {

class DriveC {
public:
    explicit DriveC(std::filesystem::path root) : root_(std::move(root)) {}

    /// `--drive-c DIR` when given, else $DUOSKOP_DRIVE_C, else the sample drive that ships
    /// with the program (`drive_c` in `program_data_dir()`).
    static DriveC locate(const std::optional<std::string>& command_line_dir);

    /// The Linux path of a Windows path such as "C:\astro\KTEXTE.txt", resolved component by
    /// component: the exact name first, else a case-insensitive match; a missing component is
    /// kept as written so that opening it fails with "file not found".
    std::filesystem::path resolve(std::string_view windows_path) const;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

/// The folder of the data that ships with the programs: <prefix>/share/duoskop for a program in
/// <prefix>/bin, found from the running program's own location (the build tree has the same layout).
std::filesystem::path program_data_dir();

}  // namespace duoskop
