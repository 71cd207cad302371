// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_style.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "base/drive_c.h"

namespace duoskop {

QFont sans_font(int pixel_size, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

QFont sans_font_pt(int point_size)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(point_size);
    return font;
}

QFont mono_font(int pixel_size)
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixel_size);
    return font;
}

void set_colours(QWidget* widget, const QColor& base, const QColor& text, bool fill)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, base);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(fill);
}

QIcon program_icon()
{
    QIcon fallback;
    const std::filesystem::path icons = program_data_dir().parent_path() / "icons" / "hicolor";
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path file = icons / folder / "apps" / "duoskop.png";
        std::error_code ec;
        // With its size given, a file is read only when that size is drawn.
        if (std::filesystem::exists(file, ec)) fallback.addFile(QString::fromStdString(file.string()), QSize(size, size));
    }
    return QIcon::fromTheme(QStringLiteral("duoskop"), fallback);
}

void centre_on_screen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

}  // namespace duoskop
