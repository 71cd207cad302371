// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/screenshots/screenshots.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "base/desktop.h"
#include "desktop/dial_window.h"
#include "desktop/kartei_dialog.h"
#include "desktop/kartei_window.h"
#include "desktop/ranking_window.h"
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

}  // namespace

int take_screenshots(const DriveC& drive, const std::string& dir)
{
    std::vector<std::string> charts;
    std::error_code error;
    for (const auto& file :
         std::filesystem::directory_iterator(drive.resolve("C:\\astro\\daten"), error)) {
        if (file.is_regular_file()) charts.push_back(file.path().string());
    }
    std::sort(charts.begin(), charts.end());
    if (charts.size() < 2) {
        std::fprintf(stderr, "screenshots: drive C holds fewer than two chart files\n");
        return 1;
    }
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

// duoskop-screenshots --drive-c DIR OUT_DIR: the windows on a drive C, saved as PNGs in OUT_DIR.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    std::optional<std::string> drive_dir;
    std::optional<std::string> out_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive-c" && i + 1 < argc) drive_dir = argv[++i];
        else if (!out_dir) out_dir = std::string(arg);
        else {
            std::fprintf(stderr, "usage: duoskop-screenshots [--drive-c DIR] OUT_DIR\n");
            return 2;
        }
    }
    if (!out_dir) {
        std::fprintf(stderr, "usage: duoskop-screenshots [--drive-c DIR] OUT_DIR\n");
        return 2;
    }
    return duoskop::take_screenshots(duoskop::DriveC::locate(drive_dir), *out_dir);
}
