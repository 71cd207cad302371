// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/trash.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "base/drive_c.h"
#include "base/file_writer.h"
#include "base/io_error.h"

namespace duoskop {

namespace {

/// A folder of the trash, made for the owner alone when missing; 0 or the errno value.
int make_private_folder(const std::filesystem::path& dir)
{
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return 0;
    if (dir.has_parent_path() && dir.parent_path() != dir) {
        if (const int error = make_private_folder(dir.parent_path()); error != 0) return error;
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return 0;
}

/// A trash folder with files/ and info/; 0 or the errno value.
int make_trash(const std::filesystem::path& trash)
{
    for (const char* part : {"files", "info"})
        if (const int error = make_private_folder(trash / part); error != 0) return error;
    return 0;
}

/// The path as the info file notes it: bytes outside the unreserved set and '/' as %XX.
std::string escaped(const std::string& path)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

/// The deletion time in local time, YYYY-MM-DDThh:mm:ss.
std::string deletion_date()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

/// The top folder of the file system that holds `dir`: the last folder upwards on the same device.
std::filesystem::path top_of(const std::filesystem::path& dir, dev_t device)
{
    std::filesystem::path top = dir;
    while (top.has_parent_path() && top.parent_path() != top) {
        struct stat st{};
        if (::stat(top.parent_path().c_str(), &st) != 0 || st.st_dev != device) break;
        top = top.parent_path();
    }
    return top;
}

enum class How { move, copy };

/// Puts `file` into `trash`, noting `noted_path`: reserves a free name by creating its info
/// file, then moves or copies the file there; on failure nothing stays behind.
TrashResult put(const std::filesystem::path& file, const std::filesystem::path& trash,
                const std::string& noted_path, How how)
{
    const std::string info_text = "[Trash Info]\nPath=" + escaped(noted_path) +
                                  "\nDeletionDate=" + deletion_date() + "\n";
    const std::string stem = file.stem().string();
    const std::string extension = file.extension().string();
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? file.filename().string() : stem + "." + std::to_string(n) + extension;
        const std::filesystem::path info = trash / "info" / (name + ".trashinfo");
        const std::filesystem::path target = trash / "files" / name;
        Descriptor note(::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!note) {
            if (errno == EEXIST) continue;
            return {errno, {}};
        }
        struct stat taken{};
        if (::lstat(target.c_str(), &taken) == 0) {  // a file without its note: left alone
            note.close();
            ::unlink(info.c_str());
            continue;
        }
        const auto undo = [&](int error) {
            ::unlink(info.c_str());
            return TrashResult{error, {}};
        };
        std::string_view rest = info_text;
        while (!rest.empty()) {
            const ssize_t written = ::write(note.get(), rest.data(), rest.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return undo(written < 0 ? errno : EIO);
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        if (::fsync(note.get()) != 0 || note.close() != 0) return undo(errno);
        if (how == How::move) {
            if (::rename(file.c_str(), target.c_str()) != 0) return undo(errno);
        } else {
            std::error_code ec;
            std::filesystem::copy_file(file, target, ec);
            if (ec) {
                std::filesystem::remove(target, ec);
                return undo(ec.value());
            }
        }
        return {0, target};
    }
    return {EEXIST, {}};
}

TrashResult to_trash(const std::filesystem::path& given, How how)
{
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(given, ec).lexically_normal();
    if (ec) return {ec.value(), {}};
    struct stat st{};
    if (::lstat(file.c_str(), &st) != 0) return {errno, {}};
    if (how == How::copy && !S_ISREG(st.st_mode)) return {EINVAL, {}};

    // The home trash, for files on its own file system (and for every copy).
    const std::filesystem::path home_trash = data_home() / "Trash";
    if (const int made = make_trash(home_trash); made != 0) return {made, {}};
    struct stat trash_st{};
    if (::stat(home_trash.c_str(), &trash_st) != 0) return {errno, {}};
    if (how == How::copy || trash_st.st_dev == st.st_dev) return put(file, home_trash, file.string(), how);

    // A file elsewhere goes to the trash at the top of its own file system.
    const std::filesystem::path top = top_of(file.parent_path(), st.st_dev);
    const std::filesystem::path top_trash = top / (".Trash-" + std::to_string(::getuid()));
    if (make_trash(top_trash) != 0) return {EXDEV, {}};
    return put(file, top_trash, file.lexically_relative(top).string(), how);
}

}  // namespace

TrashResult move_to_trash(const std::filesystem::path& file) { return to_trash(file, How::move); }
TrashResult copy_to_trash(const std::filesystem::path& file) { return to_trash(file, How::copy); }

}  // namespace duoskop
