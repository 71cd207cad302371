// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/drive_c.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/texts.h"

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

/// The value of the environment variable `name`; nothing when unset or empty.
std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

/// An XDG base folder: the variable when it holds an absolute path, else `fallback` under home.
std::filesystem::path xdg_dir(const char* name, const char* fallback)
{
    if (const auto value = environment(name); value && std::filesystem::path(*value).is_absolute()) return *value;
    return home_dir() / fallback;
}

/// Makes the personal drive at `target` from the sample drive: copied into a hidden folder beside
/// it, then renamed into place in one step. 0, or the errno value of the failure.
int make_personal_drive(const std::filesystem::path& target)
{
    std::error_code ec;
    const std::filesystem::path folder = target.parent_path();
    std::filesystem::create_directories(folder, ec);
    if (ec) return ec.value();
    std::string temp = (folder / ".drive_c-XXXXXX").string();
    if (::mkdtemp(temp.data()) == nullptr) return errno;
    const std::filesystem::path made(temp);
    const auto fail = [&](int error) {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
        return error;
    };
    // The build tree's sample drive is a link into the sources: its files are copied, not the link.
    const std::filesystem::path sample = std::filesystem::canonical(sample_drive_dir(), ec);
    if (!ec) std::filesystem::copy(sample, made, std::filesystem::copy_options::recursive, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) return fail(ec.value());
    ec.clear();
    if (!holds_chart_folder(made)) std::filesystem::create_directories(made / "astro" / "daten", ec);
    if (ec) return fail(ec.value());
    // The copies belong to the user, who may change them (the sample files are read-only).
    for (auto it = std::filesystem::recursive_directory_iterator(made, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink())
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ec);
    }
    if (ec) return fail(ec.value());
    // mkdtemp made the folder for the owner alone; the drive gets what a new folder gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(made.c_str(), 0777 & ~mask);
    if (::rename(made.c_str(), target.c_str()) != 0) {
        const int error = errno;
        // Another program made it meanwhile: that one is used.
        if ((error == EEXIST || error == ENOTEMPTY) && std::filesystem::is_directory(target)) return fail(0);
        return fail(error);
    }
    return 0;
}

}  // namespace

std::filesystem::path home_dir()
{
    if (const auto home = environment("HOME")) return *home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

std::filesystem::path data_home() { return xdg_dir("XDG_DATA_HOME", ".local/share"); }
std::filesystem::path config_home() { return xdg_dir("XDG_CONFIG_HOME", ".config"); }
std::filesystem::path personal_drive_dir() { return data_home() / "duoskop" / "drive_c"; }
std::filesystem::path sample_drive_dir() { return program_data_dir() / "drive_c"; }

std::filesystem::path wine_drive_dir()
{
    if (const auto prefix = environment("WINEPREFIX")) return std::filesystem::path(*prefix) / "drive_c";
    return home_dir() / ".wine" / "drive_c";
}

std::filesystem::path chosen_drive_file() { return config_home() / "Duoskop" / "laufwerk-c"; }

std::optional<std::filesystem::path> chosen_drive()
{
    // A short file of one line; anything longer than a path can be is no choice.
    File in(std::fopen(chosen_drive_file().c_str(), "rb"));
    if (!in) return std::nullopt;
    std::string text(8192, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), in.get()));
    if (const auto end = text.find_first_of("\r\n"); end != std::string::npos) text.resize(end);
    if (text.empty() || text.front() != '/' || text.find('\0') != std::string::npos) return std::nullopt;
    return std::filesystem::path(text);
}

int choose_drive(const std::filesystem::path& dir)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
    if (ec) return ec.value();
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute != absolute.root_path()) absolute = absolute.parent_path();
    std::filesystem::create_directories(chosen_drive_file().parent_path(), ec);
    if (ec) return ec.value();
    return write_file_whole(chosen_drive_file(), absolute.string() + "\n").error;
}

int forget_chosen_drive()
{
    if (::unlink(chosen_drive_file().c_str()) != 0 && errno != ENOENT) return errno;
    return 0;
}

bool holds_chart_folder(const std::filesystem::path& dir)
{
    std::error_code ec;
    return std::filesystem::is_directory(DriveC(dir).resolve("C:\\astro\\daten"), ec);
}

DriveChoice find_drive_c(const std::optional<std::string>& command_line_dir)
{
    if (command_line_dir && !command_line_dir->empty()) return {*command_line_dir, DriveSource::command_line, {}};
    if (const auto env = environment("DUOSKOP_DRIVE_C")) return {*env, DriveSource::environment, {}};
    if (const auto chosen = chosen_drive()) return {*chosen, DriveSource::chosen, {}};
    if (const auto wine = wine_drive_dir(); holds_chart_folder(wine)) return {wine, DriveSource::wine, {}};
    const std::filesystem::path personal = personal_drive_dir();
    std::error_code ec;
    if (std::filesystem::is_directory(personal, ec)) return {personal, DriveSource::personal, {}};
    const int error = make_personal_drive(personal);
    if (error == 0) return {personal, DriveSource::personal, {}};
    std::string problem(texts::kLaufwerkNichtAngelegt);
    problem += utf8_to_cp1252(personal.string()).value_or(personal.string());
    problem += ": ";
    problem += io_error_text(error);
    return {sample_drive_dir(), DriveSource::sample, problem};
}

std::string drive_source_text(DriveSource source)
{
    switch (source) {
    case DriveSource::command_line: return std::string(texts::kLaufwerkAusAufruf);
    case DriveSource::environment: return std::string(texts::kLaufwerkAusUmgebung);
    case DriveSource::chosen: return std::string(texts::kLaufwerkGewaehlt);
    case DriveSource::wine: return std::string(texts::kLaufwerkWine);
    case DriveSource::personal: return std::string(texts::kLaufwerkPersoenlich);
    case DriveSource::sample: break;
    }
    return std::string(texts::kLaufwerkBeispiel);
}

namespace {

/// `path` made absolute with its links resolved as far as it exists; empty when that fails.
std::filesystem::path resolved(const std::filesystem::path& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) return {};
    std::filesystem::path full = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? std::filesystem::path() : full;
}

}  // namespace

DriveKind drive_kind(const std::filesystem::path& root)
{
    const std::filesystem::path at = resolved(root);
    if (!at.empty()) {
        if (at == resolved(personal_drive_dir())) return DriveKind::personal;
        if (at == resolved(wine_drive_dir())) return DriveKind::wine;
        if (at == resolved(sample_drive_dir())) return DriveKind::sample;
    }
    return DriveKind::chosen;
}

bool in_sample_drive(const std::filesystem::path& path)
{
    const std::filesystem::path sample = resolved(sample_drive_dir());
    const std::filesystem::path at = resolved(path);
    if (sample.empty() || at.empty()) return false;
    // Component by component, so that "drive_c2" does not count as lying in "drive_c".
    auto s = sample.begin();
    for (auto a = at.begin(); s != sample.end(); ++s, ++a) {
        if (a == at.end() || *a != *s) return false;
    }
    return true;
}

DriveC DriveC::locate(const std::optional<std::string>& command_line_dir)
{
    DriveChoice found = find_drive_c(command_line_dir);
    return DriveC(std::move(found.root), found.source);
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
