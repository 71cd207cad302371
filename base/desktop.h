// SPDX-License-Identifier: GPL-3.0-or-later
// What the two windows need from the desktop: message boxes, the file dialogs, the printer and the
// end of the program. The windows call only this interface, so that a test can answer every box
// and dialog from a script while the widgets themselves run for real.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace duoskop {

/// The four kinds of message box; each has its own caption.
enum class BoxType { warning, error, information, confirmation };
/// The button sets a box offers: OK; Ja and Nein with Ja as the default, or with Nein as the
/// default (a question whose Ja gives something up); Speichern, Verwerfen and Abbrechen (unsaved
/// typing), Speichern the default.
enum class Buttons { ok, yes_no, yes_no_default_no, save_discard_cancel };
/// The button the user pressed (closing a yes/no box counts as No, closing a
/// save/discard/cancel box as Cancel).
enum class Answer { ok, yes, no, save, discard, cancel };

/// A print job written line by line in "courier new" 10 pt from the top-left corner of the printable
/// area; a line too wide continues on the next line, a full page starts a new one.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    /// Prints one line (Windows-1252); false when the printer failed, the job is then lost.
    virtual bool write_line(std::string_view line) = 0;
    /// Ends the job and hands it to the printer; false when that failed.
    virtual bool close() = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    /// A modal message box over the window the user acted in, which has the focus again when it
    /// closes; `text` is Windows-1252 with "\r" between lines.
    virtual Answer message(BoxType type, std::string_view text, Buttons buttons) = 0;
    /// A modal box as `message` gives, with the buttons `choices` (Windows-1252 captions, left to
    /// right); the index of the button pressed. Enter presses `default_choice`; Escape or closing
    /// the box presses the last one, which is therefore the one that changes nothing. A desktop
    /// without such boxes takes `default_choice`.
    virtual std::size_t choose(BoxType type, std::string_view text, std::span<const std::string_view> choices,
                               std::size_t default_choice)
    {
        (void)type;
        (void)text;
        (void)choices;
        return default_choice;
    }
    /// The file-open dialog starting in `initial_dir`; the chosen path (UTF-8) or nothing.
    virtual std::optional<std::string> open_file(const std::string& initial_dir) = 0;
    /// The file-open dialog for files of the kinds `filter` (dialog filters such as "AAF-Dateien
    /// (*.aaf)", UTF-8, separated by ";;"; the first is chosen) starting in `initial_dir`.
    virtual std::optional<std::string> open_file_of(const std::string& initial_dir, const std::string& filter)
    {
        (void)filter;
        return open_file(initial_dir);
    }
    /// The save dialog for "*.txt" files starting in `initial_dir` (or, once a file has been saved
    /// or printed to in this session, in that file's folder), default extension TXT, no question
    /// before overwriting; the chosen path (UTF-8) or nothing.
    virtual std::optional<std::string> save_file(const std::string& initial_dir) = 0;
    /// The save dialog of `save_file` that asks before replacing an existing file (the report).
    virtual std::optional<std::string> save_file_asking(const std::string& initial_dir)
    {
        return save_file(initial_dir);
    }
    /// A folder dialog starting in `initial_dir`; the chosen folder (UTF-8) or nothing.
    virtual std::optional<std::string> choose_folder(const std::string& initial_dir)
    {
        (void)initial_dir;
        return std::nullopt;
    }
    /// The save dialog for files of the kind `filter` (a dialog filter such as "AAF-Dateien (*.aaf)",
    /// UTF-8) starting in `initial_dir` with the file name `suggested`; it asks before replacing a
    /// file. The chosen path (UTF-8) or nothing.
    virtual std::optional<std::string> save_file_as(const std::string& initial_dir, const std::string& suggested,
                                                    const std::string& filter) = 0;
    /// The printer dialog; an opened print job on the chosen printer, or nothing when cancelled.
    /// A printer that cannot start the job yields a device whose first write fails.
    virtual std::unique_ptr<LineDevice> open_printer() = 0;
    /// The printer dialog for a job named `document_name` (Windows-1252, such as the analysis
    /// title): the name of the print job, and of the file proposed when printing to a file.
    virtual std::unique_ptr<LineDevice> open_printer_named(std::string_view document_name)
    {
        (void)document_name;
        return open_printer();
    }
    /// Ends the program's message loop.
    virtual void end_program() = 0;
    /// Ends the program's message loop; the program exits with `status` (1 after a refused chart).
    virtual void end_program_with(int status)
    {
        (void)status;
        end_program();
    }
};

}  // namespace duoskop
