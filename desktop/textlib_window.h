// SPDX-License-Identifier: GPL-3.0-or-later
// "Textbibliothek": the interpretation texts of drive C in a filtered list, an editor on the grid
// of the files (14 x 73, 80 for a single meaning), versions, import and export of the exchange
// file, the coverage of the current comparison and a second collection beside the first.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "base/drive_c.h"
#include "textlib/library.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QSplitter;
class QTextEdit;
class QPushButton;

namespace duoskop {

class TextlibWindow : public QWidget {
public:
    TextlibWindow(Desktop& desktop, DriveC drive, QWidget* parent = nullptr);

    /// Where the entries of the current comparison come from (none: the coverage stays empty).
    void set_entries_source(std::function<std::vector<std::string>()> source) { entries_source_ = std::move(source); }
    /// Called after each write with the single meanings as they now stand.
    void set_on_saved(std::function<void(const Ktexte&)> on_saved) { on_saved_ = std::move(on_saved); }
    /// The entries of a comparison that has just run: the coverage shows them from now on.
    void follow_entries(const std::vector<std::string>& entries);

    /// Reads the texts again and fills the list, the versions and the coverage.
    void refresh();
    /// Opens `formula` (Windows-1252) in the editor with its text, if it has one.
    void open_formula(const std::string& formula);
    const textlib::Library& library() const { return library_; }

    /// Whether the editor holds typing that is not stored: a text other than the one opened or
    /// saved last, or a text under another formula.
    bool unsaved() const;
    /// Before unsaved typing would be thrown away: asks "Speichern / Verwerfen / Abbrechen". True
    /// when the caller may go on (nothing unsaved, saved, or discarded: the editor then shows the
    /// stored text again), false when the typing stays (cancelled, or saving failed).
    bool may_leave_editor();

    void newClick();
    /// True when the text is stored (or deleted, for an empty editor).
    bool saveClick();
    bool deleteClick();
    void versionsClick();
    void importClick();
    void exportClick();
    void compareClick();
    void takeClick();

    QSplitter* splitter;          ///< the list and coverage on the left, the editor on the right
    QLineEdit* filter;
    QListWidget* list;            ///< every text: formula, blanks, first line
    QLineEdit* formula;
    QTextEdit* editor;            ///< plain text, wrapped at the width of the files
    QLabel* room;                 ///< lines used and room left, or why the text cannot be stored
    QPushButton* new_button;
    QPushButton* save_button;
    QPushButton* delete_button;
    QComboBox* versions;          ///< local time of each kept version (its name as the item's data)
    QPushButton* versions_button;
    QPushButton* import_button;
    QPushButton* export_button;
    QListWidget* coverage_list;   ///< the entries of the current comparison with their source
    QLabel* coverage_counts;
    QPushButton* compare_button;
    QPlainTextEdit* other;        ///< the text of the second collection, read-only
    QPushButton* take_button;

protected:
    void showEvent(QShowEvent* event) override;
    /// Closing with unsaved typing asks first; "Abbrechen" keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void fill_list();
    /// Makes the entry of `formula_text` (Windows-1252) the list's current one (none when it is
    /// not listed), without opening it.
    void select_in_list(const std::string& formula_text);
    void fill_coverage(const std::vector<std::string>& entries);
    void show_room();
    /// Opens the entry the list moved to, asking about unsaved typing first; false when the
    /// typing stays (the list then goes back to `previous`).
    void list_moved(const QByteArray& wanted, const QByteArray& previous);
    /// Opens `entry` unless it is the formula being typed; asks about unsaved typing first. False
    /// when the typing stays.
    bool go_to(const std::string& entry);
    void coverage_clicked(QListWidgetItem* item);
    /// The editor's text wrapped to the lines of the files.
    std::vector<std::string> editor_lines() const;
    std::optional<textlib::Formula> typed_formula() const;
    /// The editor's state from now on counts as stored.
    void mark_stored();
    /// Writes `changes`, asking before replacing a file another program changed; false when nothing was written.
    bool write(const std::vector<textlib::TextChange>& changes);
    /// Runs `apply`; asks before replacing files changed on disk, shows refusals (under `refused`)
    /// and failures, and refreshes the window after a write or a failed one. The result when
    /// written, else nothing.
    std::optional<textlib::ApplyResult> apply_asking(
        const std::function<textlib::ApplyResult(const textlib::ApplyOptions&)>& apply, std::string_view refused);
    void after_write();
    /// After the files changed under the editor (import, restore): the formula that was open with
    /// its text as now stored (nothing when it is gone); unsaved typing stays as typed.
    void show_stored_text();

    Desktop& desktop_;
    DriveC drive_;
    textlib::Library library_;
    std::optional<textlib::Library> other_;
    std::function<std::vector<std::string>()> entries_source_;
    std::function<void(const Ktexte&)> on_saved_;
    QString stored_formula_;      ///< the formula as opened or saved last
    QString stored_text_;         ///< the editor's text as opened or saved last
};

}  // namespace duoskop
