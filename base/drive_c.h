// SPDX-License-Identifier: GPL-3.0-or-later
// Drive C: the directory that stands in for the fixed Windows paths of the program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace duoskop {

/// Where drive C came from, first match wins in this order.
enum class DriveSource {
    command_line,  ///< `--drive-c DIR`
    environment,   ///< $DUOSKOP_DRIVE_C
    chosen,        ///< the folder chosen under "Laufwerk C" (or `duoskop-cli drive --set`)
    wine,          ///< Wine's drive C ($WINEPREFIX/drive_c, else ~/.wine/drive_c) holding astro\daten
    personal,      ///< $XDG_DATA_HOME/duoskop/drive_c, made from the sample drive at first use
    sample,        ///< the shipped sample drive, read only: only when no personal drive can be made
};

class DriveC {
public:
    /// Drive C in `root`, found as `source` says; a folder named by the caller counts as given
    /// on the command line.
    explicit DriveC(std::filesystem::path root, DriveSource source = DriveSource::command_line)
        : root_(std::move(root)), source_(source)
    {
    }

    /// The drive C of `find_drive_c` (the personal drive made when it is first needed).
    static DriveC locate(const std::optional<std::string>& command_line_dir);

    /// The Linux path of a Windows path such as "C:\astro\KTEXTE.txt", resolved component by
    /// component: the exact name first, else a case-insensitive match; a missing component is
    /// kept as written so that opening it fails with "file not found".
    std::filesystem::path resolve(std::string_view windows_path) const;

    const std::filesystem::path& root() const { return root_; }
    /// Where the running program found this drive C.
    DriveSource source() const { return source_; }

private:
    std::filesystem::path root_;
    DriveSource source_;
};

/// Drive C in use and why.
struct DriveChoice {
    std::filesystem::path root;
    DriveSource source = DriveSource::sample;
    /// Windows-1252: why the personal drive could not be made (source `sample` only), else empty.
    std::string problem;
};

/// Finds drive C: `--drive-c DIR` when given, else $DUOSKOP_DRIVE_C, else the chosen folder, else
/// a Wine drive C that holds astro\daten, else the personal drive, which is made when missing:
/// a copy of the sample drive (charts, KTEXTE.txt, PBTX) put in place whole, so that a broken
/// first run leaves no half drive. Only when it cannot be made, the sample drive (never written).
DriveChoice find_drive_c(const std::optional<std::string>& command_line_dir);

/// Windows-1252 description of `source` for the user ("pers\xF6nliches Laufwerk C ...").
std::string drive_source_text(DriveSource source);

/// The folders of the user's files: $HOME (else the password entry), $XDG_DATA_HOME and
/// $XDG_CONFIG_HOME (when set to an absolute path, else ~/.local/share and ~/.config).
std::filesystem::path home_dir();
std::filesystem::path data_home();
std::filesystem::path config_home();

/// The personal drive: data_home()/duoskop/drive_c.
std::filesystem::path personal_drive_dir();
/// Wine's drive C: $WINEPREFIX/drive_c, else ~/.wine/drive_c (whether it exists or not).
std::filesystem::path wine_drive_dir();
/// The shipped sample drive: program_data_dir()/drive_c.
std::filesystem::path sample_drive_dir();

/// The file that keeps the chosen folder, read by every program: config_home()/Duoskop/laufwerk-c
/// (beside the desktop programs' own settings), one line with the absolute path (UTF-8).
std::filesystem::path chosen_drive_file();
/// The chosen folder, nothing when none is kept (or the file holds no absolute path).
std::optional<std::filesystem::path> chosen_drive();
/// Keeps `dir` (made absolute) as the chosen folder; 0 or the errno value of the failure.
int choose_drive(const std::filesystem::path& dir);
/// Forgets the chosen folder; 0 or the errno value of the failure.
int forget_chosen_drive();

/// What kind of drive C a folder is, as it may be named to someone who is not to see its path.
enum class DriveKind {
    personal,  ///< the personal drive
    wine,      ///< Wine's drive C
    chosen,    ///< any other folder the user named (`--drive-c`, $DUOSKOP_DRIVE_C, "Laufwerk C")
    sample,    ///< the shipped sample drive
};
/// The kind of the drive C at `root`: the personal drive, Wine's drive C or the shipped sample
/// drive when it is that folder (links followed), else a chosen one.
DriveKind drive_kind(const std::filesystem::path& root);

/// Whether `path` is the shipped sample drive or lies in it (links followed): data of the
/// installation, which no program writes.
bool in_sample_drive(const std::filesystem::path& path);

/// Whether `dir` holds astro\daten (any case of the letters).
bool holds_chart_folder(const std::filesystem::path& dir);

/// The folder of the data that ships with the programs: <prefix>/share/duoskop for a program in
/// <prefix>/bin, found from the running program's own location (the build tree has the same layout).
std::filesystem::path program_data_dir();

}  // namespace duoskop
