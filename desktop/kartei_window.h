// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index ("Horoskop-Kartei"): every chart file under drive C's astro\daten in a sortable,
// filterable table that follows the folder on disk; new charts, edits, copies, deleting into the
// trash, and handing a chart to the main window as person 1 or 2.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "base/drive_c.h"
#include "desktop/kartei_dialog.h"
#include "kartei/listing.h"
#include "places/atlas.h"

class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace duoskop {

class KarteiFilter;
class TForm1;

class KarteiWindow : public QMainWindow {
public:
    /// The table columns, left to right.
    enum Column { name, first_name, date, time, extra, longitude, latitude, sun, mc, as, folder, file, reason,
                  column_count };
    /// No column is laid out wider than this many characters; a longer text is shortened.
    static constexpr int widest_column_characters = 40;

    /// When the chart folder is first read: at once, or once the window has shown its first frame
    /// (a program that starts with this window shows it before reading any chart).
    enum class FirstListing { now, after_first_frame };

    /// With `main_window` the window can hand charts to it ("Als Person 1/2"); without, it is a
    /// program of its own.
    KarteiWindow(Desktop& desktop, DriveC drive, TForm1* main_window = nullptr, QWidget* parent = nullptr,
                 FirstListing first_listing = FirstListing::now);
    ~KarteiWindow() override;

    /// Reads the chart folder again, keeping the selection.
    void refresh();
    /// The entries of the selected rows, in table order.
    std::vector<const KarteiEntry*> selected() const;
    /// Selects the row of a file (and only it); false when it is not listed or filtered out.
    bool select_path(const std::filesystem::path& path);
    /// The rows the filter lets through.
    int visible_rows() const;
    /// The text of a visible row's cell.
    QString cell(int row, Column column) const;
    const Listing& listing() const { return listing_; }
    const std::filesystem::path& root() const { return root_; }
    /// The chart folder lies in the shipped sample drive: listed and handed on, never changed.
    bool read_only() const { return read_only_; }

    void newClick();
    void editClick();
    void copyClick();
    void deleteClick();
    void person1Click();
    void person2Click();
    /// "Importieren …": AAF or CSV into the folder of the chart chosen (else astro\daten).
    void importClick();
    /// "Exportieren …": the charts chosen into one AAF file.
    void exportClick();
    /// The place atlas, read when first needed; nullptr when it cannot be read.
    const Atlas* atlas();

    QLineEdit* FilterEdit;
    QTableView* Table;
    QLabel* StatusLabel;
    QPushButton* NewButton;
    QPushButton* EditButton;
    QPushButton* CopyButton;
    QPushButton* DeleteButton;
    QPushButton* Person1Button;
    QPushButton* Person2Button;
    QPushButton* ImportButton;
    QPushButton* ExportButton;

private:
    void fill_model();
    void update_buttons();
    void watch();
    /// Runs the chart dialog; a chart it wrote is listed and chosen.
    void run_dialog(KarteiDialog::Mode mode, const KarteiEntry* from);

    Desktop& desktop_;
    DriveC drive_;
    TForm1* main_window_;
    std::filesystem::path root_;
    bool read_only_;
    Listing listing_;
    QStandardItemModel* model_;
    KarteiFilter* filter_;
    QFileSystemWatcher* watcher_;
    QTimer* rescan_;
    std::optional<Atlas> atlas_;
    bool atlas_read_ = false;
};

}  // namespace duoskop
