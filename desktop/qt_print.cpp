// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_print.h"

#include <QFontMetrics>

#include "desktop/qt_desktop.h"

namespace duoskop {

QFont print_font()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    return font;
}

QtLineDevice::QtLineDevice(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer))
{
    // The painter's origin is the top-left corner of the printable area: no margins of our own.
    started_ = painter_.begin(printer_.get());
    if (!started_) {
        failed_ = true;
        return;
    }
    painter_.setFont(QFont(print_font(), printer_.get()));
    const QFontMetrics metrics(painter_.font(), printer_.get());
    line_height_ = std::max(1, metrics.lineSpacing());
    ascent_ = metrics.ascent();
    const QRect area = printer_->pageLayout().paintRectPixels(printer_->resolution());
    page_width_ = area.width();
    page_height_ = area.height();
}

QtLineDevice::~QtLineDevice()
{
    if (started_ && painter_.isActive()) painter_.end();
}

bool QtLineDevice::put(const QString& piece)
{
    if (y_ > 0 && y_ + line_height_ > page_height_) {
        if (!printer_->newPage()) return false;
        y_ = 0;
    }
    painter_.drawText(0, y_ + ascent_, piece);
    y_ += line_height_;
    return true;
}

bool QtLineDevice::write_line(std::string_view line)
{
    if (failed_) return false;
    QString rest = to_qt(line);
    const QFontMetrics metrics(painter_.font(), printer_.get());
    // Break a line too wide for the page after the last character that still fits (at least one).
    while (metrics.horizontalAdvance(rest) > page_width_) {
        qsizetype fits = 1;
        while (fits < rest.size() && metrics.horizontalAdvance(rest.left(fits + 1)) <= page_width_)
            ++fits;
        if (!put(rest.left(fits))) return !(failed_ = true);
        rest.remove(0, fits);
    }
    if (!put(rest)) return !(failed_ = true);
    return true;
}

bool QtLineDevice::close()
{
    if (!started_) return false;
    started_ = false;
    const bool ended = painter_.end();
    return ended && !failed_;
}

}  // namespace duoskop
