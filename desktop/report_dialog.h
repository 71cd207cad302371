// SPDX-License-Identifier: GPL-3.0-or-later
// Extras "Bericht …": the client's report of the loaded pair. The user chooses the comparisons,
// a title, the astrologer's block and the formats, then saves the report or opens the print
// preview and prints it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "base/drive_c.h"
#include "precise/precise_positions.h"
#include "report/report_model.h"
#include "results/ktexte.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace duoskop {

/// What the report is made of: the main window's loaded pair and settings.
struct ReportInputs {
    const ChartState* chart = nullptr;
    Orbs orbs;
    const Ktexte* ktexte = nullptr;
    DriveC drive{std::filesystem::path()};
    PositionSource source = PositionSource::theory;
    std::optional<TimeWindow> time_window;  ///< the Zeitprobe window, when switched on
};

class TBericht : public QDialog {
public:
    TBericht(Desktop& desktop, ReportInputs inputs, QWidget* parent = nullptr);

    /// "Speichern …": asks for a file name and writes each chosen format beside it (.pdf, .odt,
    /// .html), all or none.
    void SaveClick();
    /// "Druckvorschau …": the print preview, from which the report can be printed.
    void PreviewClick();

    /// The report as chosen; nothing (after a box saying why) when the choice is incomplete.
    std::optional<ReportModel> chosen_report();

    /// Shows the print preview of a report; tests replace it.
    std::function<void(const ReportModel&)> preview;

    std::array<QCheckBox*, 5> Vergleich{};  ///< in the order of the menu
    QLineEdit* HalfsumOrb;
    QCheckBox* Timeline;   ///< a chapter "Auslösungen" for the range of the two fields
    QLineEdit* TimelineFrom;
    QCheckBox* Ephemeris;  ///< the graphic ephemeris of that range at the end of the chapter
    QLineEdit* TimelineTo;
    QLineEdit* Title;
    QPlainTextEdit* Astrologer;
    QCheckBox* Pdf;
    QCheckBox* Odt;
    QCheckBox* Html;
    QPushButton* Save;
    QPushButton* Preview;

private:
    Desktop& desktop_;
    ReportInputs inputs_;
};

}  // namespace duoskop
