// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_style.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

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

void centre_on_screen(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

}  // namespace duoskop
