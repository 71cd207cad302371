// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/drive_dialog.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/cp1252.h"
#include "base/io_error.h"
#include "base/texts.h"

namespace duoskop {

namespace {

/// A path as the boxes show it (Windows-1252).
std::string shown(const std::filesystem::path& path)
{
    return utf8_to_cp1252(valid_utf8(path.string())).value_or(path.string());
}

/// What the boxes say about a failed write of the choice or of the new astro\daten.
void tell_failure(Desktop& desktop, const std::filesystem::path& where, int error)
{
    desktop.message(BoxType::error, shown(where) + "\r" + io_error_text(error), Buttons::ok);
}

/// "From the next start on: ..." with the note that a given drive C still goes first.
void tell_next_start(Desktop& desktop, const DriveC& in_use)
{
    std::string text(texts::kLaufwerkNeu);
    const DriveChoice next = find_drive_c(std::nullopt);
    text += shown(next.root);
    text += "\r";
    text += drive_source_text(next.source);
    const char* env = std::getenv("DUOSKOP_DRIVE_C");
    if ((env != nullptr && *env != '\0') || next.root != in_use.root()) text += texts::kLaufwerkVorrang;
    desktop.message(BoxType::information, text, Buttons::ok);
}

}  // namespace

void choose_drive_c(Desktop& desktop, const DriveC& in_use)
{
    // The running program's drive and why: the order of `find_drive_c`, unless the command line
    // gave another folder.
    DriveChoice current = find_drive_c(std::nullopt);
    if (current.root != in_use.root()) current = {in_use.root(), DriveSource::command_line, {}};
    std::string text = "Laufwerk C: " + shown(current.root) + "\r" + drive_source_text(current.source);
    if (!current.problem.empty()) text += "\r" + current.problem;
    text += texts::kLaufwerkFrage;

    if (desktop.message(BoxType::confirmation, text, Buttons::yes_no) == Answer::yes) {
        const auto folder = desktop.choose_folder(current.root.string());
        if (!folder) return;
        const std::filesystem::path dir(*folder);
        if (!holds_chart_folder(dir)) {
            if (desktop.message(BoxType::confirmation, shown(dir) + std::string(texts::kLaufwerkOhneDaten),
                                Buttons::yes_no) != Answer::yes)
                return;
            std::error_code ec;
            std::filesystem::create_directories(dir / "astro" / "daten", ec);
            if (ec) return tell_failure(desktop, dir / "astro" / "daten", ec.value());
        }
        if (const int error = choose_drive(dir); error != 0) return tell_failure(desktop, chosen_drive_file(), error);
        return tell_next_start(desktop, in_use);
    }
    // Not another folder: back to the default, when a folder was chosen before.
    if (!chosen_drive()) return;
    if (desktop.message(BoxType::confirmation, texts::kLaufwerkZurueck, Buttons::yes_no) != Answer::yes) return;
    if (const int error = forget_chosen_drive(); error != 0) return tell_failure(desktop, chosen_drive_file(), error);
    tell_next_start(desktop, in_use);
}

}  // namespace duoskop
