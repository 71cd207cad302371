// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Grafische Ephemeride": the loaded pair's targets as lines and the movers as curves
// over a range of time on the dial of 22.5, 45 or 90 degrees. The computation runs in the
// background with a progress bar and "Abbrechen"; the picture fills the window and is saved as
// PNG, SVG or PDF or printed. A click in the picture turns the dial's pointer to the dial position
// clicked and selects the nearest hit in the window "Auslösungen" when that is open.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "base/drive_c.h"
#include "desktop/background_run.h"
#include "ephemeris/ephemeris.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QProgressBar;
class QPushButton;

namespace duoskop {

class TForm1;

/// The picture: paints the ephemeris into its whole area and reports clicks as (instant, dial
/// position).
class EphemerisCanvas : public QWidget {
public:
    explicit EphemerisCanvas(QWidget* parent);
    std::shared_ptr<const Ephemeris> ephemeris;
    QString title;
    std::optional<std::size_t> selected;  ///< index into ephemeris->hits
    std::function<void(double, double)> clicked;
    /// Where a point of the drawing stands in the widget.
    QPointF point_of(double t, double y) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class EphemerisWindow : public QDialog {
public:
    /// Adds "Grafische &Ephemeride …" to the main window's Extras menu, usable while both persons
    /// are loaded (and no half-sum orb is awaited).
    EphemerisWindow(TForm1& form, Desktop& desktop, DriveC drive);

    /// The menu entry: shows the window and draws the range of the fields for a pair not drawn yet.
    void EphemerisClick();
    /// "&Zeichnen": reads range and dial size and computes in the background.
    void StartClick();
    void CancelClick();
    /// A click at (instant, dial position) in the picture: the dial's pointer (and instant) and
    /// the nearest hit of the window "Auslösungen".
    void picture_clicked(double t, double y);
    /// Writes the picture; false after an error box.
    bool save_png(const std::string& path);
    bool save_svg(const std::string& path);
    bool save_pdf(const std::string& path);
    void reject() override;

    bool running() const { return run_.running(); }
    /// The drawing of the last finished run, or null.
    const Ephemeris* ephemeris() const { return canvas_->ephemeris.get(); }

    QAction* Ephemeride1;  ///< the entry in the main window's Extras menu
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QComboBox* ModulusChoice;
    QPushButton* StartButton;
    QProgressBar* Progress;
    QPushButton* CancelButton;
    QLabel* Status;
    EphemerisCanvas* canvas_;
    QPushButton* PngButton;
    QPushButton* SvgButton;
    QPushButton* PdfButton;
    QPushButton* PrintButton;

private:
    bool usable() const;
    std::optional<TimelineRequest> read_request();
    void finished(Ephemeris ephemeris);
    void set_running(bool running);
    void save_clicked(const char* suffix);
    void print_clicked();
    void print_to(QPagedPaintDevice& device);
    bool write(const std::string& path, const QByteArray& bytes);

    TForm1& form_;
    Desktop& desktop_;
    DriveC drive_;
    ChartState run_chart_;  ///< the pair of the last run
    BackgroundRun<Ephemeris> run_;
};


}  // namespace duoskop
