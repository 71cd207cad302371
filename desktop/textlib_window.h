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

    /// Reads the texts again and fills the list, the versions and the coverage.
    void refresh();
    /// Opens `formula` (Windows-1252) in the editor with its text, if it has one.
    void open_formula(const std::string& formula);
    const textlib::Library& library() const { return library_; }

    void newClick();
    void saveClick();
    void deleteClick();
    void versionsClick();
    void importClick();
    void exportClick();
    void compareClick();
    void takeClick();

    QLineEdit* filter;
    QListWidget* list;            ///< every text: formula, blanks, first line
    QLineEdit* formula;
    QTextEdit* editor;            ///< plain text, wrapped at the width of the files
    QLabel* room;                 ///< lines used and room left, or why the text cannot be stored
    QPushButton* new_button;
    QPushButton* save_button;
    QPushButton* delete_button;
    QComboBox* versions;
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

private:
    void fill_list();
    void fill_coverage();
    void show_room();
    void list_clicked(QListWidgetItem* item);
    void coverage_clicked(QListWidgetItem* item);
    /// The editor's text wrapped to the lines of the files.
    std::vector<std::string> editor_lines() const;
    std::optional<textlib::Formula> typed_formula() const;
    /// Writes `changes`, asking before replacing a file another program changed; false when nothing was written.
    bool write(const std::vector<textlib::TextChange>& changes);
    /// Runs `apply`; asks before replacing files changed on disk, shows refusals and failures, and
    /// refreshes the window after a write. The result when written, else nothing.
    std::optional<textlib::ApplyResult> apply_asking(
        const std::function<textlib::ApplyResult(const textlib::ApplyOptions&)>& apply);
    void after_write();

    Desktop& desktop_;
    DriveC drive_;
    textlib::Library library_;
    std::optional<textlib::Library> other_;
    std::function<std::vector<std::string>()> entries_source_;
    std::function<void(const Ktexte&)> on_saved_;
};

}  // namespace duoskop
