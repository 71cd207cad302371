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
    if ((env != nullptr && *env != '\0') || in_use.source() == DriveSource::command_line)
        text += texts::kLaufwerkVorrang;
    desktop.message(BoxType::information, text, Buttons::ok);
}

/// Another folder from the next start on, with astro\daten made there on request.
void choose_other_folder(Desktop& desktop, const DriveC& in_use)
{
    const auto folder = desktop.choose_folder(in_use.root().string());
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
    tell_next_start(desktop, in_use);
}

}  // namespace

std::string drive_c_description(const DriveC& in_use)
{
    // The drive the program runs on and where it found it; then the drive of the next start when
    // that is another one (a folder chosen since, or the default without --drive-c).
    const DriveChoice next = find_drive_c(std::nullopt);
    std::string text = "Laufwerk C: " + shown(in_use.root()) + "\r" + drive_source_text(in_use.source());
    if (next.root == in_use.root() && !next.problem.empty()) text += "\r" + next.problem;
    if (next.root != in_use.root()) {
        text += "\r\r";
        text += texts::kLaufwerkNaechsterStart;
        if (in_use.source() == DriveSource::command_line) text += texts::kLaufwerkOhneAufruf;
        text += ": " + shown(next.root) + "\r" + drive_source_text(next.source);
    }
    return text;
}

void choose_drive_c(Desktop& desktop, const DriveC& in_use)
{
    const std::string_view choices[] = {texts::kLaufwerkAndererOrdner, texts::kLaufwerkStandard, texts::kButtonCancel};
    enum { other_folder, default_drive, cancel };
    const std::string text = drive_c_description(in_use) + std::string(texts::kLaufwerkWahl);
    switch (desktop.choose(BoxType::confirmation, text, choices, cancel)) {
    case other_folder: return choose_other_folder(desktop, in_use);
    case default_drive:
        if (const int error = forget_chosen_drive(); error != 0) return tell_failure(desktop, chosen_drive_file(), error);
        return tell_next_start(desktop, in_use);
    default: return;
    }
}

}  // namespace duoskop
