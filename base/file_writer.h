// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the programs write files: whole or not at all for files that replace others, piece
// by piece (what was written stays written) for the export of the interpretation texts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/io_error.h"

namespace duoskop {

/// What a write left: 0 when everything was written, flushed and in place, else the errno value
/// of the first failure (EEXIST when the file existed and replacing it was refused, EROFS when it
/// is write-protected).
struct WriteResult {
    int error = 0;
    bool ok() const { return error == 0; }
    /// The German I/O error text (Windows-1252) of the failure, as the error boxes show it.
    std::string message() const;
};

enum class Replace { allowed, refused };

/// When the folder of a file written whole is synced: right after the rename, or by the caller
/// (sync_folder), who writes many files into one folder and syncs it once at the end.
enum class FolderSync { each_file, by_caller };

/// Writes `bytes` as the whole new content of `path`: into a temporary file (a short hidden name)
/// in the same folder, flushed to disk and closed, then renamed onto `path` in one step and the
/// folder synced (unless the caller syncs it: `FolderSync::by_caller`). A failure at any point
/// leaves the old file as it was (or no file) and removes the temporary file. With
/// `Replace::refused` an existing name at `path` is never touched, even one that appears while
/// writing.
/// A symbolic link is followed (the file it points to is replaced, the link stays; a dangling
/// link gets the file it names). Only regular files are replaced: /dev/stdout, /dev/stderr,
/// /dev/fd/N and /proc/self/fd/N are written through the program's own descriptor (at its
/// position, appending where it appends, so `>> log` keeps the log), devices, pipes and terminals
/// where they are. New files get the permissions 0666 less the umask; replaced ones keep owner,
/// group and mode (a file that would change hands is left as it is: EPERM).
/// A write-protected file is never replaced (EROFS): a regular file whose mode gives no write bit
/// to the class the effective user falls in, the owner's (root counts as the owner of every file),
/// else the group's (effective or supplementary group), else the others'. (Renaming over it would
/// work wherever the folder is writable, and root may write any file.)
WriteResult write_file_whole(const std::filesystem::path& path, std::string_view bytes,
                             Replace replace = Replace::allowed, FolderSync folder_sync = FolderSync::each_file);

/// Makes the renames in `folder` durable (fsync of the folder); a folder that cannot be synced
/// (some file systems refuse) leaves the files in place all the same, so only the attempt counts.
void sync_folder(const std::filesystem::path& folder);

/// What `write_file_whole` would meet at `path` before writing a byte, without writing: EISDIR
/// (a folder), ELOOP (a loop of links), EBADF (a descriptor name of no open, writable descriptor),
/// EROFS (a write-protected file), ENOENT or ENOTDIR (no folder to hold it), EACCES (a device that
/// may not be written, or a folder that takes no new name); 0 when it can be written.
WriteResult check_writable(const std::filesystem::path& path);

/// Whether `a` and `b` name the same file: the same file on disk when both exist (links followed,
/// so `x.pdf`, `$PWD/x.pdf` and a link to it are one), else the same place once made absolute
/// with their links resolved.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

/// The descriptor of this process that `path` names lexically (/dev/stdin, /dev/stdout,
/// /dev/stderr, /dev/fd/N, /proc/self/fd/N, /proc/<own pid>/fd/N); nothing for any other name.
std::optional<int> descriptor_of(const std::filesystem::path& path);

/// A file written from its start, piece by piece: created (or emptied) when constructed, each
/// `append` goes straight to the file, so that what was appended before a failure stays written.
/// The first failure sticks: later appends write nothing and `finish` reports it. Names of the
/// program's own descriptors, devices and pipes are written as `write_file_whole` writes them; a
/// write-protected file is not emptied (EROFS).
class FileAppender {
public:
    explicit FileAppender(const std::filesystem::path& path);
    /// Writes `bytes` at the end; the result of the first failure so far (ok when none).
    WriteResult append(std::string_view bytes);
    /// Closes the file (a full disk may show only here); the first failure of the whole write.
    WriteResult finish();

private:
    Descriptor file_;
    int error_ = 0;
};

}  // namespace duoskop
