// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Scheibe": the dial of both persons in the size chosen (22.5 degrees unless chosen
// otherwise) with a pointer, the midpoint tree of what stands on the pointer within the simple orb,
// the picture of the current result entry, and on request a third ring with the solar arcs and
// transits at an instant (universal time), which the tree counts too.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "desktop/dial_accessible.h"
#include "desktop/dial_painter.h"
#include "dialview/dial_view.h"
#include "dialview/midpoints.h"
#include "dialview/pair_points.h"
#include "results/result_text.h"
#include "timeline/timeline.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QTreeWidget;

namespace duoskop {

class TForm1;

/// Where the dial's save and print dialogs start: the folder a picture was last saved to (kept in
/// the settings), else the user's documents folder, else the home folder; never drive C's
/// astro\daten, so pictures do not land among the charts.
QString dial_picture_folder();
/// Keeps the folder of `saved_file` as the one `dial_picture_folder` starts in.
void remember_picture_folder(const QString& saved_file);

/// The dial itself: draws the scene and moves the pointer by mouse, keys and wheel.
class DialCanvas : public QWidget {
public:
    explicit DialCanvas(QWidget* parent);
    DialScene scene;
    /// Called after the user moved the pointer, with its new dial position on the scene's dial.
    std::function<void(double)> pointer_moved;
    /// The dial position under a point of the widget, on the scene's dial.
    double position_at(QPointF point) const;
    /// Where the dial is painted in the widget.
    QRectF dial_area() const;
    /// What a screen reader reads of the dial (desktop/dial_accessible.h), kept by the window.
    DialReading reading;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void move_pointer(double position);
    int wheel_rest_ = 0;  ///< wheel angle not yet turned into steps (fine wheels)
};

class DialWindow : public QWidget {
public:
    /// The window reads the persons and orbs of the main window, which owns them for the run.
    DialWindow(Desktop& desktop, const ChartState& chart, const Orbs& orbs);

    /// Takes the positions and names of the loaded persons as they stand now; the picture of a
    /// result entry goes when a position has changed.
    void update_persons(bool person1, bool person2);
    /// The pointer rule: the window keeps the longitude last set, and the pointer shows it on the
    /// dial of the chosen size (modulo the modulus). set_longitude sets that longitude (degrees,
    /// reduced to [0, 360) when outside); set_pointer moves the pointer to a dial position of the
    /// dial shown, which shifts the kept longitude by the move, the shortest way round that dial.
    /// Both fill the tree of what stands on the pointer.
    void set_longitude(double longitude);
    void set_pointer(double position);
    double longitude() const { return longitude_; }
    /// The pointer's dial position on the dial shown, [0, modulus).
    double pointer() const { return canvas_->scene.pointer.value_or(0); }
    /// Chooses the dial's size (one of dial_moduli), as the choice in the window does; the kept
    /// longitude stays.
    void set_modulus(double modulus);
    double modulus() const { return canvas_->scene.modulus; }
    /// Shows a result entry's picture: pointer on its axis, its factors marked, their arcs.
    /// A text that names no picture leaves the pointer and clears the marks.
    void show_entry(const std::string& entry, const EntryCharts& charts);
    void clear_entry();
    /// Turns the pointer to a point of the pair (a factor or a midpoint, as the list of hits in
    /// time names it), from the loaded persons' positions; the marks of an entry go.
    void show_target(const PairPoint& target);

    /// The third ring: the movers at an instant (Julian day, universal time). set_instant fills the
    /// date and time fields, switches "Auslöser zeigen" on, draws the ring and refills the tree.
    void set_instant(double julian_day_ut);
    /// The instant of the ring: nothing while "Auslöser zeigen" is off or the fields hold no date
    /// and time.
    std::optional<double> instant() const;
    /// Chooses the movers of the ring (kinds, bodies, sources; a range is not read): ring_request()
    /// until chosen otherwise. Redraws the ring when it is shown.
    void set_movers(const TimelineRequest& request);
    const TimelineRequest& movers() const { return movers_; }

    /// What the tree shows: the factors and midpoints within the orb of the pointer, and the
    /// movers of the ring when it is shown.
    const PointerTree& tree() const { return tree_; }
    /// The orb of the tree: the simple orb, or 1 degree while none has been entered.
    double list_orb() const;
    const DialScene& scene() const { return canvas_->scene; }
    DialCanvas* canvas() const { return canvas_; }

    /// Writes the picture; false after an error box.
    bool save_png(const std::string& path);
    bool save_svg(const std::string& path);
    /// Prints a page: the header with both persons' names and birth data, then the dial.
    void print_to(QPagedPaintDevice& device);
    /// The header lines of a printout (Windows-1252).
    std::vector<std::string> header_lines() const;
    /// The name of a print job: "Scheibe <Name 1> <Name 2>" (Windows-1252).
    std::string print_name() const;
    /// The file the print dialog proposes: the print job's name as a PDF in the folder printed to
    /// last time (else the documents folder).
    QString print_proposal() const;

    /// The save dialog for a picture: caption, filter and suffix; the chosen path or nothing.
    std::function<std::optional<std::string>(const QString&, const QString&, const QString&)> choose_file;

    QComboBox* ModulusChoice;
    QCheckBox* ShowMovers;
    QLineEdit* DateEdit;
    QLineEdit* TimeEdit;
    QLabel* InstantProblem;
    QTreeWidget* PointerList;
    QLabel* PointerHeading;
    QPushButton* SavePng;
    QPushButton* SaveSvg;
    QPushButton* PrintButton;

protected:
    void changeEvent(QEvent* event) override;

private:
    void show_pointer();
    void fill_list();
    /// Reads the date and time fields after an edit.
    void instant_edited();
    /// Computes the ring for the instant shown (or takes it away) and refills the tree.
    void update_movers();
    void save_clicked(bool svg);
    void print_clicked();
    bool write(const std::string& path, const QByteArray& bytes);

    Desktop& desktop_;
    const ChartState& chart_;
    const Orbs& orbs_;
    DialCanvas* canvas_;
    bool person2_ = false;
    double longitude_ = 0;  ///< the longitude last set; the pointer shows it on the dial shown
    PointerTree tree_;
    std::optional<double> instant_;  ///< what the date and time fields hold (set_instant: exactly)
    TimelineRequest movers_;
};

/// Adds "&Scheibe …" to the Extras menu of the main window: usable once person 1 is loaded, it
/// opens the dial window, which follows every load and restart and the current entry of the
/// result window. The window lives as long as the main window.
QAction* install_dial_window(TForm1& form, Desktop& desktop);

/// The dial window of the main window, once it has been opened (for tests and screenshots).
DialWindow* dial_window_of(const TForm1& form);

}  // namespace duoskop
