// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/io_error.h"

#include <cerrno>
#include <unistd.h>

#include "base/texts.h"

namespace duoskop {

std::string io_error_text(int errno_value)
{
    switch (errno_value) {
    case 0: return std::string(texts::kIoReadPastEnd);
    case ENOENT: return std::string(texts::kIoFileNotFound);
    case EACCES:
    case EPERM:
    case EISDIR: return std::string(texts::kIoAccessDenied);
    case EROFS: return std::string(texts::kIoWriteProtected);
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case ELOOP: return std::string(texts::kIoInvalidFileName);
    case EMFILE:
    case ENFILE: return std::string(texts::kIoTooManyFiles);
    case ENOMEM:
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return std::string(texts::kIoOutOfMemory);
    default: return "E/A-Fehler " + std::to_string(errno_value);
    }
}

Descriptor::~Descriptor()
{
    if (fd_ >= 0) ::close(fd_);
}

int Descriptor::close()
{
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
}

std::string read_error_text(std::FILE* file)
{
    return io_error_text(std::ferror(file) ? errno : 0);
}

}  // namespace duoskop
