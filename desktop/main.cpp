// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: the main window on the drive C given by `--drive-c DIR`, the environment or
// the sample drive.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/drive_c.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/unit1.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    QGuiApplication::setDesktopFileName(QStringLiteral("duoskop"));
    QApplication::setWindowIcon(duoskop::program_icon());
    if (!duoskop::install_german_translations())
        std::fprintf(stderr, "duoskop: Qts deutsche \u00DCbersetzungen (qtbase_de.qm) fehlen; Qts Dialoge bleiben englisch\n");

    std::optional<std::string> drive_dir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive-c" && i + 1 < argc) {
            drive_dir = argv[++i];
        } else if (arg.starts_with("--drive-c=")) {
            drive_dir = std::string(arg.substr(10));
        } else {
            std::fprintf(stderr, "Aufruf: duoskop [--drive-c ORDNER]\n");
            return 2;
        }
    }
    const duoskop::DriveC drive = duoskop::DriveC::locate(drive_dir);

    duoskop::QtDesktop desktop;
    duoskop::TForm1 form(desktop, drive);
    desktop.set_parent(&form);
    form.show();
    return QApplication::exec();
}
