// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/report.h"

#include <cerrno>
#include <cstdio>

#include "base/io_error.h"

namespace duoskop {

std::string text_file_bytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::string write_text_file(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return io_error_text(errno);
    for (const std::string& line : lines) {
        const std::string bytes = line + "\r\n";
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            const int error = errno;
            std::fclose(file);
            return io_error_text(error);
        }
    }
    // Buffered bytes reach the disk only now; a full disk shows up here.
    if (std::fclose(file) != 0) return io_error_text(errno);
    return {};
}

}  // namespace duoskop
