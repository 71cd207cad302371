// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Auslösungen": when solar arcs and transits reach the points of the loaded pair. A
// range, the movers and the kinds of targets to check, the run in the background with a progress
// bar and "Abbrechen", then a table of the hits that sorts by any column and filters by mover,
// target and "nur im Ergebnis", the clusters beside it, and export to CSV and calendar files.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "base/drive_c.h"
#include "desktop/background_run.h"
#include "timeline/timeline.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace duoskop {

class TForm1;
class HitModel;
class HitFilter;

class TimelineWindow : public QDialog {
public:
    /// Adds "A&uslösungen …" to the main window's Extras menu, usable while both persons are
    /// loaded (and no half-sum orb is awaited).
    TimelineWindow(TForm1& form, Desktop& desktop, DriveC drive);
    ~TimelineWindow() override;

    /// The menu entry: shows the window (the hits of an earlier run stay while the pair is the same).
    void Ausloesungen1Click();
    /// "&Rechnen": reads range, movers and targets and runs in the background.
    void StartClick();
    /// "&Abbrechen": stops the run under way.
    void CancelClick();
    /// "C&SV …" and "&Kalender (ICS) …": the hits the table shows, in time order, through the
    /// save dialog.
    void ExportCsvClick();
    void ExportIcsClick();
    /// Closing the window (Escape, the close button) stops a run under way.
    void reject() override;

    bool running() const { return run_.running(); }
    /// The hits of the last finished run.
    const Timeline& timeline() const { return *timeline_; }
    /// Indices into timeline().hits of the rows the table shows, top to bottom.
    std::vector<std::size_t> shown_hits() const;
    /// The hit of a row of the table as it shows now, or nothing.
    std::optional<std::size_t> hit_of_row(int row) const;
    /// Selects the row of the hit nearest in time to `instant` (Julian day UT) among the rows
    /// shown, only hits on `target` when one is given; false when no row qualifies.
    bool select_nearest_hit(double instant, const std::optional<PairPoint>& target);

    QAction* Ausloesungen1;  ///< the entry in the main window's Extras menu
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QCheckBox* Arc1;
    QCheckBox* Arc2;
    QCheckBox* Transits;
    QCheckBox* PreciseTransits;
    QCheckBox* TargetErgebnis;
    QCheckBox* TargetFactors;
    QCheckBox* TargetCross;
    QCheckBox* TargetOwn;
    QLabel* OrbsLabel;
    QPushButton* StartButton;
    QProgressBar* Progress;
    QPushButton* CancelButton;
    QLabel* Status;
    QComboBox* MoverFilter;
    QLineEdit* TargetFilter;
    QCheckBox* OnlyErgebnis;
    QTableView* Table;
    QListWidget* Clusters;
    QPushButton* CsvButton;
    QPushButton* IcsButton;

private:
    bool usable() const;
    /// The request as the controls say; nothing after a box saying what is missing.
    std::optional<TimelineRequest> read_request();
    void finished(Timeline timeline);
    void set_running(bool running);
    void filters_changed();
    void row_chosen(int row);
    void cluster_chosen(int index);
    /// The shown hits as a timeline of their own, for the export.
    Timeline shown_timeline() const;
    void save(const std::string& suffix, const std::string& filter, const std::string& bytes_of_kind);

    TForm1& form_;
    Desktop& desktop_;
    DriveC drive_;
    std::shared_ptr<const Timeline> timeline_;
    ChartState run_chart_;  ///< the pair of the last run
    HitModel* model_;
    HitFilter* filter_;
    BackgroundRun<Timeline> run_;
};

}  // namespace duoskop
