// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index as a program of its own: the chart files of the drive C given by
// `--drive-c DIR`, the environment, the chosen folder, Wine's drive C or the personal drive.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/drive_c.h"
#include "desktop/kartei_window.h"
#include "desktop/qt_desktop.h"

int main(int argc, char** argv)
{
    // Fractional scale factors (125 %, 150 %) as they are, not rounded to whole ones.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    duoskop::start_desktop_program("duoskop-kartei");

    std::optional<std::string> drive_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive-c" && i + 1 < argc) {
            drive_dir = argv[++i];
        } else if (arg.starts_with("--drive-c=")) {
            drive_dir = std::string(arg.substr(10));
        } else {
            std::fprintf(stderr, "Aufruf: duoskop-kartei [--drive-c ORDNER]\n");
            return 2;
        }
    }
    duoskop::QtDesktop desktop;
    const duoskop::DriveChoice drive_c = duoskop::find_drive_c(drive_dir);
    duoskop::KarteiWindow window(desktop, duoskop::DriveC(drive_c.root, drive_c.source), nullptr, nullptr,
                                 duoskop::KarteiWindow::FirstListing::after_first_frame);
    desktop.set_parent(&window);
    duoskop::show_main_window(&window);
    // No personal drive could be made: the sample drive is read, and the user learns why.
    if (!drive_c.problem.empty()) desktop.message(duoskop::BoxType::warning, drive_c.problem, duoskop::Buttons::ok);
    return QApplication::exec();
}
