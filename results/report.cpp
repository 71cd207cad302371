// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/report.h"

#include "base/file_writer.h"

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
    const WriteResult written = write_file_whole(path, text_file_bytes(lines));
    return written.ok() ? std::string() : written.message();
}

std::string append_text_file(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    FileAppender file(path);
    for (const std::string& line : lines)
        if (!file.append(line + "\r\n").ok()) break;
    const WriteResult written = file.finish();
    return written.ok() ? std::string() : written.message();
}

}  // namespace duoskop
