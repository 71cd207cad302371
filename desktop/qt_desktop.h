// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop on Qt: message boxes, file and printer dialogs, and the conversion of the program's
// Windows-1252 texts into the widgets' strings.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "base/desktop.h"

namespace duoskop {

/// The widget text of a Windows-1252 text; "\r" (a line break in the program's messages) becomes "\n".
QString to_qt(std::string_view cp1252);
/// The Windows-1252 bytes of a widget text, one byte per character ('?' where none exists).
std::string from_qt(const QString& text);

/// Installs Qt's German translations for Qt's own dialogs and buttons (open, save, print, message
/// boxes) into the application, whatever the session's language: the program speaks only German.
/// False when the translation file cannot be found; Qt's texts then stay English.
bool install_german_translations();

/// What every program of ours does first: the window font, the desktop entry `desktop_file_name`,
/// the program icon and Qt's German translations (a note on stderr when those are missing).
void start_desktop_program(const char* desktop_file_name);
/// Shows the program's main window. The program icon (a look-up in the icon theme and a picture in
/// each size) follows once the window has shown its first frame; with DUOSKOP_FIRST_FRAME set, the
/// program reports that frame and ends (desktop/first_frame.h).
void show_main_window(QWidget* window);

/// The file the print dialog proposes for printing to a file: `folder`/`document_name`.pdf, the
/// name made fit for a file name ('/' and other characters a file name cannot hold become '-').
QString print_file_proposal(const QString& folder, std::string_view document_name);

/// The real desktop: modal Qt message boxes and dialogs over the window the user acted in (an
/// open dialog of ours, else the active window, else the window of the box or dialog before while
/// it is shown, else the window given as parent), so that the
/// keyboard focus returns there when the box closes and no other window comes to the front. Message
/// texts are shown as plain text, never as markup. The save and print dialogs start in the folder
/// last saved or printed to in this session.
class QtDesktop : public Desktop {
public:
    explicit QtDesktop(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    Answer message(BoxType type, std::string_view text, Buttons buttons) override;
    std::size_t choose(BoxType type, std::string_view text, std::span<const std::string_view> choices,
                       std::size_t default_choice) override;
    std::optional<std::string> open_file(const std::string& initial_dir) override;
    std::optional<std::string> open_file_of(const std::string& initial_dir, const std::string& filter) override;
    std::optional<std::string> save_file(const std::string& initial_dir) override;
    std::optional<std::string> save_file_asking(const std::string& initial_dir) override;
    std::optional<std::string> choose_folder(const std::string& initial_dir) override;
    std::optional<std::string> save_file_as(const std::string& initial_dir, const std::string& suggested,
                                            const std::string& filter) override;
    std::unique_ptr<LineDevice> open_printer() override;
    /// Printing to a file proposes `document_name`.pdf in the user's documents folder, or in the
    /// folder last saved or printed to in this session.
    std::unique_ptr<LineDevice> open_printer_named(std::string_view document_name) override;
    void end_program() override;
    void end_program_with(int status) override;

    /// The window the next box or dialog belongs to.
    QWidget* owner() const;

private:
    std::optional<std::string> save_text_file(const std::string& initial_dir, bool ask_before_replacing);

    QWidget* parent_;
    mutable QPointer<QWidget> last_window_;  ///< the window the last box or dialog belonged to
    QString last_folder_;  ///< folder of the last file saved or printed to; empty before the first
};

}  // namespace duoskop
