// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

/// Opens `path` for writing from its start, creating it with 0666 less the umask.
int open_for_writing(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

/// A target that cannot be replaced by renaming (a device, a pipe): written where it is.
WriteResult write_in_place(const std::filesystem::path& path, std::string_view bytes)
{
    Descriptor out(open_for_writing(path));
    if (!out) return {errno};
    int error = write_all(out.get(), bytes);
    const int closed = out.close();
    if (error == 0) error = closed;
    return {error};
}

}  // namespace

std::string WriteResult::message() const { return io_error_text(error); }

WriteResult write_file_whole(const std::filesystem::path& given, std::string_view bytes, Replace replace)
{
    if (given.filename().empty()) return {EISDIR};
    struct stat link{};
    const bool exists = ::lstat(given.c_str(), &link) == 0;
    if (replace == Replace::refused && exists) return {EEXIST};

    // A link is followed, so that the link stays and the file it names gets the new content.
    std::filesystem::path path = given;
    if (exists && S_ISLNK(link.st_mode)) {
        std::error_code ec;
        path = std::filesystem::weakly_canonical(given, ec);
        if (ec) return {ec.value()};
    }
    struct stat old{};
    const bool old_exists = ::stat(path.c_str(), &old) == 0;
    if (old_exists && S_ISDIR(old.st_mode)) return {EISDIR};
    if (old_exists && !S_ISREG(old.st_mode)) return write_in_place(path, bytes);

    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    // A hidden name beside the target (built by appending: GCC 12 warns wrongly on "." + name).
    std::string temp_name(".");
    temp_name += path.filename().string();
    temp_name += ".XXXXXX";
    std::string temp = (folder / temp_name).string();
    Descriptor out(::mkstemp(temp.data()));
    if (!out) return {errno};

    // mkstemp creates 0600; a new file gets what an ordinary create would give it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = old_exists ? (old.st_mode & 07777) : (0666 & ~mask);

    int error = write_all(out.get(), bytes);
    if (error == 0 && ::fchmod(out.get(), mode) != 0) error = errno;
    if (error == 0 && ::fsync(out.get()) != 0) error = errno;
    if (const int closed = out.close(); error == 0) error = closed;
    if (error == 0) {
        const int moved = replace == Replace::refused
                              ? ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE)
                              : ::rename(temp.c_str(), path.c_str());
        if (moved != 0) error = errno;
    }
    if (error != 0) ::unlink(temp.c_str());
    return {error};
}

FileAppender::FileAppender(const std::filesystem::path& path) : file_(open_for_writing(path))
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
