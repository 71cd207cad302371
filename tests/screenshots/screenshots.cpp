// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/screenshots/screenshots.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "astro/calendar.h"
#include "base/desktop.h"
#include "desktop/appearance.h"
#include "desktop/dial_window.h"
#include "desktop/ephemeris_window.h"
#include "desktop/kartei_dialog.h"
#include "desktop/kartei_window.h"
#include "desktop/ranking_window.h"
#include "desktop/timeline_window.h"
#include "desktop/zeitprobe.h"
#include "desktop/unit1.h"
#include "desktop/unit2.h"
#include "dialview/midpoints.h"

namespace duoskop {

namespace {

// Answers every box with OK or Yes and every file dialog from a list.
class ScriptDesktop : public Desktop {
public:
    explicit ScriptDesktop(std::deque<std::string> files) : files_(std::move(files)) {}
    Answer message(BoxType, std::string_view, Buttons buttons) override
    {
        return buttons == Buttons::ok ? Answer::ok : Answer::yes;
    }
    std::optional<std::string> open_file(const std::string&) override
    {
        if (files_.empty()) return std::nullopt;
        std::string next = files_.front();
        files_.pop_front();
        return next;
    }
    std::optional<std::string> save_file(const std::string&) override { return std::nullopt; }
    std::optional<std::string> save_file_as(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::unique_ptr<LineDevice> open_printer() override { return nullptr; }
    void end_program() override {}

private:
    std::deque<std::string> files_;
};

// Lets pending paint and focus events through so that a grab shows the window as the user would.
void settle()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(QWidget* window, const QString& path)
{
    settle();
    const bool saved = window->grab().save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// The chart files of drive C's astro/daten in name order; a word on stderr when there are fewer
// than two.
std::vector<std::string> sample_charts(const DriveC& drive)
{
    std::vector<std::string> charts;
    std::error_code error;
    for (const auto& file :
         std::filesystem::directory_iterator(drive.resolve("C:\\astro\\daten"), error)) {
        if (file.is_regular_file()) charts.push_back(file.path().string());
    }
    std::sort(charts.begin(), charts.end());
    if (charts.size() < 2) std::fprintf(stderr, "screenshots: drive C holds fewer than two chart files\n");
    return charts;
}

}  // namespace

int take_variant_screenshots(const DriveC& drive, const std::string& dir, const std::string& suffix,
                             bool with_main_and_timeline)
{
    const std::vector<std::string> charts = sample_charts(drive);
    if (charts.size() < 2) return 1;
    QDir().mkpath(QString::fromStdString(dir));
    const QString out = QString::fromStdString(dir) + QLatin1Char('/');
    const QString end = QString::fromStdString(suffix) + QStringLiteral(".png");

    ScriptDesktop desktop({charts[0], charts[1]});
    TForm1 form(desktop, drive);
    form.show();
    settle();
    form.name1Click();
    form.name2Click();
    form.activateWindow();
    form.Edit1->setText(QStringLiteral("1,0"));
    form.Edit2->setText(QStringLiteral("0,5"));
    settle();
    if (!form.Edit2->isHidden()) {
        form.Edit1Exit();
        form.Edit2Exit();
    }
    bool ok = true;
    if (with_main_and_timeline) ok = save(&form, out + QStringLiteral("main") + end);

    // The dial with the first entry of the simple complements, as dial.png.
    if (QAction* dial_entry = form.Extras1->findChild<QAction*>(QStringLiteral("Scheibe1")))
        dial_entry->trigger();
    DialWindow* dial = dial_window_of(form);
    if (dial == nullptr) return 1;
    dial->resize(1040, 740);
    QTimer::singleShot(300, &form, [&] {
        if (form.Form2->ListBox1->count() > 0) {
            form.Form2->ListBox1->setCurrentRow(0);
            ok = save(dial, out + QStringLiteral("dial") + end) && ok;
        } else {
            std::fprintf(stderr, "screenshots: no result entry\n");
            ok = false;
        }
        form.Form2->accept();
    });
    form.einfache1Click();

    // The hits in time of the pair over one year.
    if (with_main_and_timeline) {
        TimelineWindow* timeline = form.timeline_window;
        timeline->Ausloesungen1Click();
        timeline->resize(1100, 700);
        timeline->FromEdit->setText(QStringLiteral("01.01.2024"));
        timeline->ToEdit->setText(QStringLiteral("31.12.2024"));
        timeline->StartClick();
        for (int i = 0; i < 6000 && timeline->running(); ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
        ok = save(timeline, out + QStringLiteral("timeline") + end) && ok;
        timeline->reject();
    }
    return ok ? 0 : 1;
}

int take_screenshots(const DriveC& drive, const std::string& dir)
{
    const std::vector<std::string> charts = sample_charts(drive);
    if (charts.size() < 2) return 1;
    QDir().mkpath(QString::fromStdString(dir));
    const QString out = QString::fromStdString(dir) + QLatin1Char('/');

    ScriptDesktop desktop({charts[0], charts[1]});
    TForm1 form(desktop, drive);
    form.show();
    settle();  // the start state
    form.name1Click();
    // The partner ranking of the sample charts against person 1, in a large font.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 12));
    RankingWindow* ranking = form.ranking_window;
    const std::string partners = drive.resolve("C:\\astro\\daten").string();
    ranking->choose_folder = [partners](const std::string&) { return std::optional<std::string>(partners); };
    ranking->OrbDouble->setText(QStringLiteral("1,0"));
    ranking->OrbSimple->setText(QStringLiteral("0,5"));
    ranking->show();
    ranking->FolderClick();
    for (int i = 0; i < 600 && ranking->running(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    settle();
    const bool ranking_saved = save(ranking, out + QStringLiteral("ranking.png"));
    ranking->reject();
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    form.name2Click();
    form.activateWindow();
    // Type the orbs; the fields end their entry themselves when the focus moves on.
    form.Edit1->setText(QStringLiteral("1,0"));
    form.Edit2->setText(QStringLiteral("0,5"));
    settle();
    if (!form.Edit2->isHidden()) {  // no window manager to give the window the focus
        form.Edit1Exit();
        form.Edit2Exit();
    }
    bool ok = save(&form, out + QStringLiteral("main.png")) && ranking_saved;
    form.Info1Click();
    ok = save(&form, out + QStringLiteral("info.png")) && ok;
    form.Info1Click();

    // The dial beside the result window, turned to the first entry of the simple complements.
    if (QAction* dial_entry = form.Extras1->findChild<QAction*>(QStringLiteral("Scheibe1")))
        dial_entry->trigger();
    DialWindow* dial = dial_window_of(form);
    if (dial != nullptr) dial->resize(1040, 740);

    QTimer::singleShot(300, &form, [&] {
        ok = save(form.Form2, out + QStringLiteral("result.png")) && ok;
        if (dial != nullptr && form.Form2->ListBox1->count() > 0) {
            form.Form2->ListBox1->setCurrentRow(0);
            ok = save(dial, out + QStringLiteral("dial.png")) && ok;
            // The same entry on the other dial sizes (dial-360.png, dial-90.png, dial-45.png,
            // dial-11.25.png), then back on the 22.5-degree dial.
            for (const double modulus : dial_moduli) {
                if (modulus == dial_span) continue;
                dial->set_modulus(modulus);
                const std::string size = modulus == 11.25 ? "11.25" : modulus_text(modulus);
                ok = save(dial, out + QStringLiteral("dial-%1.png").arg(QString::fromStdString(size))) && ok;
            }
            dial->set_modulus(dial_span);
            // The third ring of the solar arcs and transits at a fixed instant (dial-ring.png),
            // then the dial without it again.
            dial->set_instant(chart_julian_day0(2024, 6, 15) + 14.5 / 24);
            ok = save(dial, out + QStringLiteral("dial-ring.png")) && ok;
            dial->ShowMovers->setChecked(false);
        } else {
            std::fprintf(stderr, "screenshots: no dial window or no result entry\n");
            ok = false;
        }
        form.Form2->accept();
    });
    form.einfache1Click();

    // The chart index with the first chart chosen, and its dialog editing that chart.
    form.Kartei1Click();
    KarteiWindow* kartei = form.findChild<KarteiWindow*>();
    if (kartei == nullptr) return 1;
    kartei->select_path(charts[0]);
    ok = save(kartei, out + QStringLiteral("kartei.png")) && ok;
    QTimer::singleShot(300, kartei, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = dynamic_cast<KarteiDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                ok = save(dialog, out + QStringLiteral("kartei_dialog.png")) && ok;
                dialog->reject();
                return;
            }
        }
        ok = false;
    });
    kartei->editClick();

    // The graphic ephemeris of the pair for 2025 (ephemeris.png), drawn in the background.
    if (EphemerisWindow* ephemeris = form.ephemeris_window) {
        ephemeris->FromEdit->setText(QStringLiteral("01.01.2025"));
        ephemeris->ToEdit->setText(QStringLiteral("31.12.2025"));
        ephemeris->resize(1100, 700);
        ephemeris->Ephemeride1->trigger();
        QElapsedTimer waited;
        waited.start();
        while (ephemeris->running() && waited.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ok = ephemeris->ephemeris() != nullptr && save(ephemeris, out + QStringLiteral("ephemeris.png")) && ok;
        ephemeris->reject();
    }

    // Our dialogs with long texts in a large font: nothing may be cut.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 12));
    {
        KarteiDialog d(desktop, drive.resolve("C:\\astro\\daten"), {}, KarteiDialog::Mode::create, nullptr,
                       kartei->atlas(), kartei);
        d.show();
        d.NameEdit->setText(QStringLiteral("Hohenzollern-Sigmaringen"));
        d.FirstNameEdit->setText(QStringLiteral("Friederike"));
        d.DateEdit->setText(QStringLiteral("27.10.2019"));
        d.TimeEdit->setText(QStringLiteral("2:30"));
        d.ZoneBox->setEditText(QStringLiteral("Europe/Berlin"));
        settle();
        ok = save(&d, out + QStringLiteral("chart_dialog_long_name.png")) && ok;
        // The clock time that occurred twice: the question with both readings, then the result.
        d.NameEdit->setText(QStringLiteral("Schwarzenb"));
        settle();
        ok = save(&d, out + QStringLiteral("repeated_hour.png")) && ok;
        d.ReadingBox->setCurrentIndex(2);
        settle();
        ok = save(&d, out + QStringLiteral("chart_dialog_result.png")) && ok;
    }
    {
        TZeitprobe zeitprobe(form.time_window, &form);
        zeitprobe.show();
        settle();
        ok = save(&zeitprobe, out + QStringLiteral("zeitprobe.png")) && ok;
        zeitprobe.reject();
    }
    return ok ? 0 : 1;
}

}  // namespace duoskop

// duoskop-screenshots [--drive-c DIR] [--variant 200|dark] OUT_DIR: the windows on a drive C,
// saved as PNGs in OUT_DIR; with a variant only the dial (dial-200.png), or the main window, the
// dial and the hits in time (main-dark.png, dial-dark.png, timeline-dark.png). The scale factor
// and the colours come from the environment (QT_SCALE_FACTOR, DUOSKOP_DARSTELLUNG), never from
// the user's settings.
int main(int argc, char** argv)
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    const char* usage = "usage: duoskop-screenshots [--drive-c DIR] [--variant 200|dark] OUT_DIR\n";
    std::optional<std::string> drive_dir;
    std::optional<std::string> out_dir;
    std::optional<std::string> variant;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive-c" && i + 1 < argc) drive_dir = argv[++i];
        else if (arg == "--variant" && i + 1 < argc) variant = argv[++i];
        else if (!out_dir) out_dir = std::string(arg);
        else {
            std::fputs(usage, stderr);
            return 2;
        }
    }
    if (!out_dir || (variant && *variant != "200" && *variant != "dark")) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (const char* forced = std::getenv("DUOSKOP_DARSTELLUNG"))
        if (const auto appearance = duoskop::appearance_named(forced)) duoskop::apply_appearance(*appearance);
    const duoskop::DriveC drive = duoskop::DriveC::locate(drive_dir);
    if (variant) return duoskop::take_variant_screenshots(drive, *out_dir, "-" + *variant, *variant == "dark");
    return duoskop::take_screenshots(drive, *out_dir);
}
