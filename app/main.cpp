// The desktop program: the main window on the drive C given by `--drive-c DIR`, the environment or
// the sample drive.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/drive_c.h"
#include "app/qt_desktop.h"
#include "app/qt_screenshots.h"
#include "app/unit1.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

    std::optional<std::string> drive_dir;
    std::optional<std::string> screenshot_dir;  // not in the usage: for the screenshot script
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "--drive-c" || arg == "--screenshots") && i + 1 < argc) {
            (arg == "--drive-c" ? drive_dir : screenshot_dir) = argv[++i];
        } else if (arg.starts_with("--drive-c=")) {
            drive_dir = std::string(arg.substr(10));
        } else {
            std::fprintf(stderr, "usage: duoskop [--drive-c DIR]\n");
            return 2;
        }
    }
    const duoskop::DriveC drive = duoskop::DriveC::locate(drive_dir);

    if (screenshot_dir) return duoskop::take_screenshots(drive, *screenshot_dir);

    duoskop::QtDesktop desktop;
    duoskop::TForm1 form(desktop, drive);
    desktop.set_parent(&form);
    form.show();
    return QApplication::exec();
}
