// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/drive_c.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "base/cp1252.h"

namespace duoskop {

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equal_folded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return fold(x) == fold(y); });
}

/// The name of `dir`'s entry that matches `name` (exact first, else ignoring the case of A-Z);
/// nothing when there is none or the directory cannot be read. Among several case-insensitive
/// matches the alphabetically first wins, so the outcome does not depend on directory order.
std::optional<std::string> match_in(const std::filesystem::path& dir, const std::string& name)
{
    std::error_code ec;
    if (std::filesystem::exists(dir / name, ec)) return name;
    std::optional<std::string> best;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string candidate = it->path().filename().string();
        if (equal_folded(candidate, name) && (!best || candidate < *best)) best = candidate;
    }
    return best;
}

}  // namespace

DriveC DriveC::locate(const std::optional<std::string>& command_line_dir)
{
    if (command_line_dir && !command_line_dir->empty()) return DriveC(*command_line_dir);
    if (const char* env = std::getenv("DUOSKOP_DRIVE_C"); env != nullptr && *env != '\0')
        return DriveC(env);
    return DriveC(program_data_dir() / "drive_c");
}

std::filesystem::path program_data_dir()
{
    // The programs lie in <prefix>/bin and their data in <prefix>/share/duoskop, in an installation
    // as in the build tree, so a moved installation keeps finding its data.
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::path("share") / "duoskop";
    // Helper programs lie in <prefix>/lib/duoskop.
    std::filesystem::path dir = exe.parent_path();
    if (dir.filename() == "duoskop" && dir.parent_path().filename() == "lib") dir = dir.parent_path();
    return dir.parent_path() / "share" / "duoskop";
}

std::filesystem::path DriveC::resolve(std::string_view windows_path) const
{
    // Drop the drive letter; every path of the program lies on drive C.
    if (windows_path.size() >= 2 && windows_path[1] == ':' && fold(windows_path[0]) == 'c')
        windows_path.remove_prefix(2);

    // Split at both separators; "." stays, ".." goes up but never above the drive's root.
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= windows_path.size()) {
        std::size_t stop = windows_path.find_first_of("\\/", start);
        if (stop == std::string_view::npos) stop = windows_path.size();
        const std::string_view part = windows_path.substr(start, stop - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(cp1252_to_utf8(part));
        }
        start = stop + 1;
    }

    std::filesystem::path path = root_;
    bool matching = true;  // once a component is missing, the rest is kept as written
    for (const std::string& part : parts) {
        std::optional<std::string> found;
        if (matching) found = match_in(path, part);
        if (!found) matching = false;
        path /= found ? *found : part;
    }
    return path;
}

}  // namespace duoskop
