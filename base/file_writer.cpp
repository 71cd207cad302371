// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace duoskop {

namespace {

/// Writes all of `bytes` to `fd`; 0 or the errno value of the failure.
int write_all(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

/// The descriptor number that `text` (all digits, nothing else) names; nothing otherwise.
std::optional<int> descriptor_number(std::string_view text)
{
    int n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0) return std::nullopt;
    return n;
}

/// Links followed at most while looking for the file a name stands for (as the kernel's limit).
constexpr int max_links = 40;

/// Where `path` leads when its links are followed: the final name that is no link (it need not
/// exist, so that a dangling link leads to the file it names), or the open descriptor of this
/// process that a name such as /dev/stdout, /dev/fd/N or /proc/self/fd/N stands for.
struct Target {
    std::filesystem::path path;
    std::optional<int> descriptor;
    int error = 0;
};

Target follow(const std::filesystem::path& given)
{
    std::filesystem::path path = given;
    for (int hop = 0; hop <= max_links; ++hop) {
        if (const auto fd = descriptor_of(path)) return {path, fd, 0};
        struct stat link{};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {path, std::nullopt, 0};
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) return {path, std::nullopt, ec.value()};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {path, std::nullopt, ELOOP};
}

/// Whether the effective group or one of the supplementary groups of this process is `gid`.
bool in_group(gid_t gid)
{
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

/// Whether the regular file with the status `st` is write-protected for this process: no write
/// bit in the class of the effective user (owner, where root always counts; else group; else others).
bool write_protected(const struct stat& st)
{
    const uid_t user = ::geteuid();
    if (user == 0 || user == st.st_uid) return (st.st_mode & S_IWUSR) == 0;
    if (in_group(st.st_gid)) return (st.st_mode & S_IWGRP) == 0;
    return (st.st_mode & S_IWOTH) == 0;
}

/// Opens `path` for writing from its start, creating it with 0666 less the umask.
int open_for_writing(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
}

/// A descriptor to write the file or device `path` stands for where it is (-1 and errno set when
/// it cannot be opened): a copy of this process's own descriptor for /dev/stdout and its kin (its
/// position and its appending stay as the shell opened them), a device or pipe opened as it is,
/// any other name created or emptied.
int open_in_place(const std::filesystem::path& path)
{
    const Target target = follow(path);
    if (target.error != 0) {
        errno = target.error;
        return -1;
    }
    if (target.descriptor) return ::fcntl(*target.descriptor, F_DUPFD_CLOEXEC, 0);
    struct stat st{};
    if (::stat(target.path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return ::open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (S_ISREG(st.st_mode) && write_protected(st)) {
            errno = EROFS;
            return -1;
        }
    }
    return open_for_writing(target.path);
}

/// Writes `bytes` to where `path` stands, in place; the first failure.
WriteResult write_in_place(const std::filesystem::path& path, std::string_view bytes)
{
    Descriptor out(open_in_place(path));
    if (!out) return {errno};
    int error = write_all(out.get(), bytes);
    const int closed = out.close();
    if (error == 0) error = closed;
    return {error};
}

}  // namespace

void sync_folder(const std::filesystem::path& folder)
{
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.get());
}

std::optional<int> descriptor_of(const std::filesystem::path& path)
{
    const std::string text = path.lexically_normal().string();
    if (text == "/dev/stdin") return 0;
    if (text == "/dev/stdout") return 1;
    if (text == "/dev/stderr") return 2;
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string_view prefix : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
                                          std::string_view("/proc/thread-self/fd/"), std::string_view(own)}) {
        if (text.starts_with(prefix)) return descriptor_number(std::string_view(text).substr(prefix.size()));
    }
    return std::nullopt;
}

std::string WriteResult::message() const { return io_error_text(error); }

WriteResult write_file_whole(const std::filesystem::path& given, std::string_view bytes, Replace replace,
                             FolderSync folder_sync)
{
    if (given.filename().empty()) return {EISDIR};
    struct stat link{};
    const bool exists = ::lstat(given.c_str(), &link) == 0;
    if (replace == Replace::refused && exists) return {EEXIST};

    // A link is followed, so that the link stays and the file it names gets the new content; a
    // dangling link gets the file it names.
    const Target target = follow(given);
    if (target.error != 0) return {target.error};
    if (target.descriptor) {
        // The shell's own descriptor: written at its position, appending where it appends.
        return write_in_place(given, bytes);
    }
    const std::filesystem::path& path = target.path;
    struct stat old{};
    const bool old_exists = ::stat(path.c_str(), &old) == 0;
    if (old_exists && S_ISDIR(old.st_mode)) return {EISDIR};
    if (old_exists && !S_ISREG(old.st_mode)) {
        // A device, pipe or socket cannot be replaced: written where it is.
        return write_in_place(path, bytes);
    }
    if (old_exists && write_protected(old)) return {EROFS};

    // A short hidden name beside the target, so that any name the folder takes can be written.
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (folder / ".duoskop-XXXXXX").string();
    Descriptor out(::mkstemp(temp.data()));
    if (!out) return {errno};

    // mkstemp creates 0600; a new file gets what an ordinary create would give it, a replaced one
    // keeps its owner, group and mode (the owner first: changing it may clear set-id bits).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = old_exists ? (old.st_mode & 07777) : (0666 & ~mask);

    int error = write_all(out.get(), bytes);
    if (error == 0 && old_exists) {
        struct stat made{};
        if (::fstat(out.get(), &made) != 0) error = errno;
        else if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
                 ::fchown(out.get(), old.st_uid, old.st_gid) != 0)
            error = errno;  // the file would change hands: it stays as it is
    }
    if (error == 0 && ::fchmod(out.get(), mode) != 0) error = errno;
    if (error == 0 && ::fsync(out.get()) != 0) error = errno;
    if (const int closed = out.close(); error == 0) error = closed;
    if (error == 0) {
        const int moved = replace == Replace::refused
                              ? ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE)
                              : ::rename(temp.c_str(), path.c_str());
        if (moved != 0) error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return {error};
    }
    if (folder_sync == FolderSync::each_file) sync_folder(folder);
    return {0};
}

WriteResult check_writable(const std::filesystem::path& given)
{
    if (given.filename().empty()) return {EISDIR};
    const Target target = follow(given);
    if (target.error != 0) return {target.error};
    if (target.descriptor) {
        // The program's own descriptor: it must be open for writing.
        const int flags = ::fcntl(*target.descriptor, F_GETFL);
        return {flags < 0 || (flags & O_ACCMODE) == O_RDONLY ? EBADF : 0};
    }
    const std::filesystem::path& path = target.path;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return {EISDIR};
        if (!S_ISREG(st.st_mode))  // a device or pipe, written where it is
            return {::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno};
        if (write_protected(st)) return {EROFS};
    }
    // A new file, or the replacement of one: the folder takes it.
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    struct stat dir{};
    if (::stat(folder.c_str(), &dir) != 0) return {errno};
    if (!S_ISDIR(dir.st_mode)) return {ENOTDIR};
    return {::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno};
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b)
{
    struct stat sa{};
    struct stat sb{};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // Not both there yet: the places they lead to, a dangling link followed to the name it holds.
    const Target ta = follow(a);
    const Target tb = follow(b);
    if (ta.descriptor || tb.descriptor) return ta.descriptor == tb.descriptor;
    const auto place = [](const std::filesystem::path& p) {
        std::error_code ec;
        std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(p, ec), ec);
        return ec ? p.lexically_normal() : full;
    };
    return place(ta.path) == place(tb.path);
}

FileAppender::FileAppender(const std::filesystem::path& path) : file_(open_in_place(path))
{
    if (!file_) error_ = errno;
}

WriteResult FileAppender::append(std::string_view bytes)
{
    if (error_ == 0) error_ = write_all(file_.get(), bytes);
    return {error_};
}

WriteResult FileAppender::finish()
{
    const int closed = file_.close();
    if (error_ == 0) error_ = closed;
    return {error_};
}

}  // namespace duoskop
