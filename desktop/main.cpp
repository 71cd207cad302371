// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: the main window on drive C (`--drive-c DIR`, the environment, the chosen
// folder, Wine's drive C or the personal drive); `--person1 FILE [--person2 FILE]` load charts
// after the opening hint; `--scheibe` then opens the dial window as "Extras, Scheibe …" does.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/drive_c.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/start_persons.h"
#include "desktop/unit1.h"

int main(int argc, char** argv)
{
    // Fractional scale factors (125 %, 150 %) as they are, not rounded to whole ones.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    duoskop::start_desktop_program("duoskop");

    std::optional<std::string> drive_dir;
    std::optional<std::string> person1;
    std::optional<std::string> person2;
    bool open_dial = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive-c" && i + 1 < argc) {
            drive_dir = argv[++i];
        } else if (arg.starts_with("--drive-c=")) {
            drive_dir = std::string(arg.substr(10));
        } else if ((arg == "--person1" || arg == "--person2") && i + 1 < argc) {
            (arg == "--person1" ? person1 : person2) = argv[++i];
        } else if (arg == "--scheibe") {
            open_dial = true;
        } else {
            std::fprintf(stderr, "Aufruf: duoskop [--drive-c ORDNER] [--person1 DATEI [--person2 DATEI] [--scheibe]]\n");
            return 2;
        }
    }
    if ((person2 || open_dial) && !person1) {
        std::fprintf(stderr, "Aufruf: duoskop [--drive-c ORDNER] [--person1 DATEI [--person2 DATEI] [--scheibe]]\n");
        return 2;
    }
    const duoskop::DriveChoice drive_c = duoskop::find_drive_c(drive_dir);
    const duoskop::DriveC drive(drive_c.root, drive_c.source);

    duoskop::QtDesktop desktop;
    duoskop::TForm1 form(desktop, drive);
    desktop.set_parent(&form);
    // No personal drive could be made: the sample drive is read, and the user learns why.
    if (!drive_c.problem.empty()) desktop.message(duoskop::BoxType::warning, drive_c.problem, duoskop::Buttons::ok);
    if (person1) duoskop::load_persons_at_start(form, *person1, person2, open_dial);
    duoskop::show_main_window(&form);
    return QApplication::exec();
}
