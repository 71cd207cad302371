// SPDX-License-Identifier: GPL-3.0-or-later
// The user's trash, as the desktops keep it: a file put there can be fetched back with the file
// manager. Made when missing ($XDG_DATA_HOME/Trash with files/ and info/, for the owner only);
// a file on another file system goes to that file system's $topdir/.Trash-$uid.
#pragma once

#include <filesystem>

namespace duoskop {

/// Where a file went: 0 and its place in the trash, else the errno value of the failure (the
/// file then stays where it was, and nothing is left in the trash).
struct TrashResult {
    int error = 0;
    std::filesystem::path where;
    bool ok() const { return error == 0; }
};

/// Moves `file` into the trash, with the note of where it came from and when.
TrashResult move_to_trash(const std::filesystem::path& file);

/// Puts a copy of `file` into the trash, the file itself stays: the old state of a file that is
/// about to be rewritten in place.
TrashResult copy_to_trash(const std::filesystem::path& file);

}  // namespace duoskop
