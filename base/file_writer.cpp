// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/io_error.h"

namespace duoskop {

namespace {

/// Closes a descriptor once, unless it was handed on.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
    int release()
    {
        const int out = fd;
        fd = -1;
        return out;
    }
};

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

}  // namespace

std::string WriteResult::message() const { return io_error_text(error); }

WriteResult write_file_whole(const std::filesystem::path& path, std::string_view bytes, Replace replace)
{
    if (path.filename().empty()) return {EISDIR};
    if (replace == Replace::refused && ::access(path.c_str(), F_OK) == 0) return {EEXIST};

    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    Descriptor out{::mkstemp(temp.data())};
    if (out.fd < 0) return {errno};

    // mkstemp creates 0600; a new file gets what an ordinary create would give it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    if (struct stat old{}; ::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;

    int error = write_all(out.fd, bytes);
    if (error == 0 && ::fchmod(out.fd, mode) != 0) error = errno;
    if (error == 0 && ::fsync(out.fd) != 0) error = errno;
    if (error == 0 && ::close(out.release()) != 0) error = errno;
    if (error == 0) {
        const int moved = replace == Replace::refused
                              ? ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE)
                              : ::rename(temp.c_str(), path.c_str());
        if (moved != 0) error = errno;
    }
    if (error != 0) ::unlink(temp.c_str());
    return {error};
}

}  // namespace duoskop
