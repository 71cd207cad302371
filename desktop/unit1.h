// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the menu that leads from loading two charts through the orbs to the
// comparisons, the personal data and search axes of both persons, and the information panel.
#pragma once

#include <QEventLoop>
#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "base/desktop.h"
#include "base/drive_c.h"
#include "precise/precise_positions.h"
#include "results/ktexte.h"
#include "results/result_text.h"
#include "timeprobe/time_probe.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace duoskop {

class KarteiWindow;
class TextlibWindow;
class RankingWindow;
class TimelineWindow;
class EphemerisWindow;
class TForm2;

class TForm1 : public QMainWindow {
public:
    /// Creates the main window (`FormCreate`) and then the result window.
    TForm1(Desktop& desktop, DriveC drive, QWidget* parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormShow();
    void name1Click();
    void name2Click();
    /// "Name &1" with the file already chosen (by the chart index, the command line, ...).
    void name1Open(const std::string& path);
    /// "Name &2" with the file already chosen, or nothing as for a cancelled dialog.
    void name2Open(const std::optional<std::string>& path);
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit1Exit();
    void Edit2Exit();
    void Edit3Exit();
    void Solar1Click();
    void doppelte1Click();
    void einfache1Click();
    void Halbsummen1Click();
    void asas1Click();
    void Ende1Click();
    void Info1Click();
    void Label16Click();
    /// "Horoskop-&Kartei …": shows the chart index, which can hand charts to this window.
    void Kartei1Click();
    void LaufwerkC1Click();
    /// "Text&bibliothek …": the text library, also usable with no person loaded.
    void Textbibliothek1Click();
    /// Extras "Genaue Positionen": switches the source of SO, MO and ME to PL, remembers it and
    /// computes the loaded persons again.
    void GenauePositionen1Click();
    void Zeitprobe1Click();
    /// Extras "Bericht …": the client's report of the loaded pair (usable like the comparisons).
    void Bericht1Click();
    /// Extras "Han&dbuch …": the manual at its first page.
    void Handbuch1Click();

    // The state the window owns for the whole run.
    ChartState chart;
    Orbs orbs;
    FirstTimeFlags flags;
    HalfsumCount halfsum_count{};
    Ktexte ktexte;
    /// How far the time probe shifts each birth time for every comparison (the user's setting,
    /// read at creation; off until the user switches it on).
    TimeWindow time_window{0, 0};

    /// True once the program has been told to end; no handler does anything after that.
    bool ended() const { return ended_; }
    /// True while the half-sum evaluation waits for `Edit3`.
    bool waiting_for_halfsum_orb() const { return waiting_; }
    /// Person 1 (person 2) has been loaded since the last start.
    bool person1_loaded() const { return person1_loaded_; }
    bool person2_loaded() const { return person2_loaded_; }
    /// The file person 1 was loaded from (empty before the first load).
    const std::string& person1_path() const { return person1_path_; }

    /// Called after every change of the menu state or of the loaded persons, so that the
    /// additions under "Extras" can update what they allow and show.
    std::vector<std::function<void()>> state_listeners;
    void notify_state();

    /// Where the positions of SO, MO and ME to PL come from (Extras "Genaue Positionen").
    PositionSource position_source() const { return position_source_; }

    // Menu
    QAction* name1;
    QAction* name2;
    QAction* Solar1;
    QMenu* mcmc1;
    QAction* doppelte1;
    QAction* einfache1;
    QAction* Halbsummen1;
    QAction* asas1;
    QAction* Ende1;
    QAction* Info1;
    QMenu* Extras1;  ///< the additions to the program, right of "Info"
    QAction* Kartei1;
    QAction* Bericht1;  ///< Extras: the client's report
    QAction* LaufwerkC1;
    QAction* GenauePositionen1;  ///< Extras: precise positions on or off (a check mark)
    QAction* Zeitprobe1;

    // Controls
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QPlainTextEdit* Memo1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QFrame* Panel2;
    QLabel* Image1;
    QLabel* Label16;
    QFrame* Panel3;
    QPlainTextEdit* Memo8;
    TForm2* Form2;
    RankingWindow* ranking_window;  ///< "Partner-&Rangliste …" under Extras
    TimelineWindow* timeline_window;  ///< "A&uslösungen …" under Extras
    EphemerisWindow* ephemeris_window;  ///< "Grafische &Ephemeride …" under Extras

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_controls();
    void build_menu();
    /// Gives the controls the names and descriptions a screen reader reads.
    void name_controls();
    /// The start state without its hint: orb fields, memo and row labels hidden or empty, only
    /// "Name 1" and "Info" usable.
    void start_state();
    /// Puts the focus into an orb field with its text selected.
    void focus_field(QLineEdit* field);
    /// Loads a chart file; false when the handler must stop (the file was not loaded).
    bool load(const std::string& path, int person);
    /// The display step of a load: the person's row and, for person 2, the search axes.
    void show_person(int person);
    /// Reads an orb field; a text that is not a number empties the field and gives it the focus.
    bool read_orb_field(QLineEdit* field, double& orb);
    /// Shows a comparison's hint, if one is due, then its result in the result window, its
    /// entries marked by the time probe unless that is off.
    void present(const ResultText& result, Comparison comparison);
    /// Enables the entries of the state Ready.
    void enable_ready();
    /// Ends the program; it exits with `status` (1 after a chart file that ended it). The user's
    /// end (`status` 0) waits for unsaved typing in the text library and stays when it is kept.
    void end_program(int status = 0);
    /// The main window's caption, with the mark of the precise positions while they are on.
    void show_caption();
    /// The loaded persons computed again from their records with the current position source,
    /// then shown and their search axes formed, as a load does.
    void recompute_persons();

    Desktop& desktop_;
    DriveC drive_;
    bool shown_once_ = false;
    bool ended_ = false;
    /// Person 2 has been loaded since the last start; only then do the comparisons make sense.
    bool person1_loaded_ = false;
    bool person2_loaded_ = false;
    std::string person1_path_;
    bool waiting_ = false;
    bool in_exit_ = false;  ///< an orb field's exit handler is running
    QEventLoop* wait_loop_ = nullptr;
    KarteiWindow* kartei_ = nullptr;  ///< made when first asked for; a child window of this one
    TextlibWindow* textlib_ = nullptr;  ///< made when first asked for; a child window of this one
    PositionSource position_source_ = PositionSource::theory;
};

}  // namespace duoskop
