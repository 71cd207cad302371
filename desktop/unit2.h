// SPDX-License-Identifier: GPL-3.0-or-later
// The result window: the report of the last comparison, its yellow list of result entries, saving
// and printing the report, the interpretation text of a clicked entry and the text export.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "base/drive_c.h"
#include "results/export.h"
#include "results/ktexte.h"
#include "results/result_text.h"
#include "timeprobe/time_probe.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace duoskop {

class TForm2 : public QDialog {
public:
    /// The window reads the person records and the single meanings of the main window, which owns
    /// them for the whole run.
    TForm2(Desktop& desktop, const DriveC& drive, const ChartState& chart, const Ktexte& ktexte,
           QWidget* parent);

    /// Replaces the content with a comparison's result: analysis title, caption, report lines and
    /// entries, and brings the report back to its first line. Does not show the window.
    void fill(const ResultText& result);
    /// `fill`, marks the entries by the time probe when one ran (`probe` empty: none), then shows
    /// the window modally until the user closes it.
    void present(const ResultText& result, const std::vector<EntryStability>& probe = {},
                 TimeWindow window = {});
    /// Shows the entries that do not hold over both windows in the second colour, with a tooltip
    /// that says how far they hold; their texts stay as they are. `probe` has one item per entry.
    void mark_time_probe(const std::vector<EntryStability>& probe, TimeWindow window);

    /// Saving and printing cut a report line longer than this many characters into pieces.
    static constexpr int report_columns = 90;
    /// The report lines as saving and printing write them: a line longer than `report_columns`
    /// as the pieces the result window has always cut it into (at a word boundary where the line
    /// has one, else after `report_columns` characters; the blanks at a cut end the piece before).
    /// The window itself shows every line whole.
    std::vector<std::string> saved_lines() const;
    /// The result entries in list order.
    const std::vector<std::string>& entries() const { return entries_; }
    /// The charts of each entry's factors, as the comparison gave them (may be shorter).
    const std::vector<EntryCharts>& entry_charts() const { return entry_charts_; }

    /// Called with the row whenever another result entry becomes current (by a click or the
    /// keys), and with -1 when the list is emptied. A click's text boxes stay the click's own.
    std::vector<std::function<void(int row)>> current_entry_listeners;
    const std::string& analysis_title() const { return analysis_title_; }

    void Button1Click();
    void Button2Click();
    void Button4Click();
    void ListBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();

    QPlainTextEdit* Memo1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QListWidget* ListBox1;
    QPushButton* Button4;
    QFrame* Panel1;
    QLabel* Label2;
    QLabel* Label3;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void export_to_file(ExportScope scope);
    void export_to_printer(ExportScope scope);
    // Hides the export panel, or keeps it and shows `failure` when there is one.
    void end_export(const std::string& failure);
    /// Shows an input/output error (Windows-1252 text) in an error box.
    void io_error(const std::string& text);

    Desktop& desktop_;
    const DriveC& drive_;
    const ChartState& chart_;
    const Ktexte& ktexte_;
    QButtonGroup* radio_group_;
    std::vector<std::string> lines_{std::string()};  // the memo starts with one empty line
    std::vector<std::string> entries_;
    std::vector<EntryCharts> entry_charts_;
    std::string analysis_title_;
};

}  // namespace duoskop
