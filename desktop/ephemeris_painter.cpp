// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/ephemeris_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/cp1252.h"
#include "desktop/dial_painter.h"

namespace duoskop {

namespace {

// The grid's lines: the months faint, the years stronger, in the colour set's grid colour.
QColor faint(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// Margins and sizes in units of the label font's pixel size.
constexpr double left_margin = 7.0;   // the targets' labels and their leaders
constexpr double leader_width = 0.9;
constexpr double right_margin = 2.8;  // the degrees of the dial
constexpr double top_margin = 2.6;    // the title
constexpr double bottom_margin = 2.4; // the ticks' labels
constexpr double hit_radius = 0.32;

/// Person 1's solar arcs in person 1's colour, person 2's in person 2's, transits as the dial's
/// third ring.
QColor mover_colour(const Mover& mover, const PictureColours& colours)
{
    switch (mover.kind) {
    case Mover::Kind::arc1: return colours.person1;
    case Mover::Kind::arc2: return colours.person2;
    case Mover::Kind::transit: break;
    }
    return colours.movers;
}

QString qt_text(const std::string& cp1252) { return QString::fromStdString(cp1252_to_utf8(cp1252)); }

/// The dial positions that get a grid line and a number at the right edge: every 2.5 degrees on
/// the 22.5-degree dial, every 5 on the 45-degree dial, every 10 on the 90-degree dial.
double grid_step(double modulus) { return modulus <= 22.5 ? 2.5 : modulus <= 45 ? 5.0 : 10.0; }

/// The heights (device units) of the lines' labels: each at its line where there is room, else
/// pushed apart to `gap` from its neighbours, in the lines' order from top to bottom, within the
/// plot's height (when `gap` times the lines fits into it).
std::vector<double> spread_labels(const Ephemeris& e, const EphemerisFrame& f, double gap)
{
    std::vector<std::size_t> order(e.lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return e.lines[a].y > e.lines[b].y; });
    std::vector<double> y(e.lines.size());
    for (std::size_t i = 0; i < y.size(); ++i) y[i] = f.point(e.from, e.lines[i].y).y();
    // Down from the top, each at least `gap` below the one above; then up from the bottom.
    if (!order.empty()) y[order.front()] = std::max(y[order.front()], f.plot.top());
    for (std::size_t k = 1; k < order.size(); ++k) y[order[k]] = std::max(y[order[k]], y[order[k - 1]] + gap);
    if (!order.empty()) y[order.back()] = std::min(y[order.back()], f.plot.bottom());
    for (std::size_t k = order.size(); k-- > 1;) y[order[k - 1]] = std::min(y[order[k - 1]], y[order[k]] - gap);
    return y;
}

}  // namespace

QPointF EphemerisFrame::point(double t, double y) const
{
    const double x = to > from ? (t - from) / (to - from) : 0.0;
    return {plot.left() + x * plot.width(), plot.bottom() - y / modulus * plot.height()};
}

std::pair<double, double> EphemerisFrame::at(QPointF p) const
{
    const double x = std::clamp((p.x() - plot.left()) / plot.width(), 0.0, 1.0);
    const double y = std::clamp((plot.bottom() - p.y()) / plot.height(), 0.0, 1.0);
    return {from + x * (to - from), y * modulus};
}

EphemerisFrame ephemeris_frame(const QRectF& area, const Ephemeris& ephemeris)
{
    EphemerisFrame f;
    f.from = ephemeris.from;
    f.to = ephemeris.to;
    f.modulus = ephemeris.modulus;
    f.text_size = std::clamp(std::min(area.width() / 90.0, area.height() / 45.0), 6.0, 400.0);
    const double s = f.text_size;
    f.plot = QRectF(area.left() + left_margin * s, area.top() + top_margin * s,
                    std::max(1.0, area.width() - (left_margin + right_margin) * s),
                    std::max(1.0, area.height() - (top_margin + bottom_margin) * s));
    return f;
}

void paint_ephemeris(QPainter& painter, const QRectF& area, const Ephemeris& e, const QString& title,
                     std::optional<std::size_t> selected, const PictureColours& colours)
{
    const EphemerisFrame f = ephemeris_frame(area, e);
    const double s = f.text_size;
    const QRectF& plot = f.plot;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(s))));
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());

    // The title over the plot.
    QFont title_font = font;
    title_font.setPixelSize(std::max(1, static_cast<int>(std::lround(s * 1.25))));
    title_font.setBold(true);
    painter.setFont(title_font);
    painter.setPen(colours.text);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), top_margin * s * 0.9),
                     Qt::AlignHCenter | Qt::AlignVCenter, title);
    painter.setFont(font);

    // The grid: dial positions across, months and years up.
    const double thin = std::max(0.5, s / 12);
    const double step = grid_step(e.modulus);
    for (double y = 0; y <= e.modulus + 1e-9; y += step) {
        painter.setPen(QPen(faint(colours.grid, 0x50), thin));
        painter.drawLine(f.point(e.from, y), f.point(e.to, y));
        painter.setPen(colours.scale);
        // Whole degrees as they are, halves with a decimal comma ("12,5").
        const long halves = std::lround(y * 2);
        const QString number = QString::number(halves / 2) + (halves % 2 != 0 ? QStringLiteral(",5") : QString());
        painter.drawText(QRectF(plot.right() + 0.15 * s, f.point(e.from, y).y() - s, right_margin * s, 2 * s),
                         Qt::AlignLeft | Qt::AlignVCenter, number);
    }
    for (const TimeTick& tick : e.ticks) {
        const QPointF bottom = f.point(tick.instant, 0);
        painter.setPen(QPen(tick.year ? faint(colours.grid, 0xB0) : faint(colours.grid, 0x50), tick.year ? 2 * thin : thin));
        painter.drawLine(bottom, f.point(tick.instant, e.modulus));
        painter.setPen(colours.text);
        painter.drawText(QRectF(bottom.x() - 3 * s, plot.bottom() + 0.2 * s, 6 * s, 1.4 * s),
                         Qt::AlignHCenter | Qt::AlignTop, qt_text(tick.label));
    }
    painter.setPen(QPen(colours.text, thin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // The targets as horizontal lines, labelled at the left edge; labels of lines close together
    // are spread apart and joined to their lines by a short leader.
    // So many lines that their labels would not fit one above the other get a smaller font.
    const double label_gap = std::min(1.05 * s, plot.height() / static_cast<double>(std::max<std::size_t>(1, e.lines.size())));
    QFont label_font = font;
    label_font.setPixelSize(std::max(1, static_cast<int>(label_gap / 1.05)));
    painter.setFont(label_font);
    const std::vector<double> label_y = spread_labels(e, f, label_gap);
    for (std::size_t i = 0; i < e.lines.size(); ++i) {
        const TargetLine& line = e.lines[i];
        const QColor colour = line.ergebnis ? colours.scale : colours.target_lines;
        painter.setPen(QPen(colour, line.ergebnis ? 1.6 * thin : thin, Qt::DashLine));
        const QPointF left = f.point(e.from, line.y);
        painter.drawLine(left, f.point(e.to, line.y));
        painter.setPen(QPen(colour, thin));
        const double gap = leader_width * s;
        if (std::abs(label_y[i] - left.y()) > 0.5) painter.drawLine(QPointF(left.x() - gap, label_y[i]), left);
        painter.drawText(QRectF(area.left(), label_y[i] - 0.7 * s, left_margin * s - gap - 0.2 * s, 1.4 * s),
                         Qt::AlignRight | Qt::AlignVCenter, qt_text(line.label));
    }
    painter.setFont(font);

    // The movers as curves, each labelled on the background where it stands.
    painter.save();
    painter.setClipRect(plot.adjusted(-thin, -thin, thin, thin));
    for (const MoverCurve& curve : e.curves) {
        const QColor colour = mover_colour(e.timeline.movers[curve.mover], colours);
        painter.setPen(QPen(colour, 1.8 * thin));
        for (const auto& piece : curve.pieces) {
            if (piece.size() < 2) continue;
            QPainterPath path(f.point(piece.front().t, piece.front().y));
            for (std::size_t i = 1; i < piece.size(); ++i) path.lineTo(f.point(piece[i].t, piece[i].y));
            painter.drawPath(path);
        }
    }
    for (const MoverCurve& curve : e.curves) {
        if (!curve.label_at) continue;
        const QString label = qt_text(curve.label);
        const QPointF at = f.point(curve.label_at->t, curve.label_at->y);
        QRectF box(0, 0, metrics.horizontalAdvance(label) + 0.4 * s, 1.2 * s);
        box.moveCenter(at);
        box.moveTop(std::clamp(box.top(), plot.top(), plot.bottom() - box.height()));
        painter.fillRect(box, faint(colours.background, 0xD0));
        painter.setPen(mover_colour(e.timeline.movers[curve.mover], colours));
        painter.drawText(box, Qt::AlignCenter, label);
    }
    painter.restore();

    // The hits as small circles where a curve crosses its line.
    painter.setBrush(colours.background);
    for (std::size_t i = 0; i < e.hits.size(); ++i) {
        const EphemerisHit& hit = e.hits[i];
        const bool chosen = selected && *selected == i;
        painter.setPen(QPen(colours.hits, chosen ? 3 * thin : 1.6 * thin));
        if (chosen) painter.setBrush(colours.highlight);
        const double r = (chosen ? 1.6 : 1.0) * hit_radius * s;
        painter.drawEllipse(f.point(hit.t, hit.y), r, r);
        if (chosen) painter.setBrush(colours.background);
    }
    painter.restore();
}

QImage ephemeris_image(const Ephemeris& ephemeris, const QString& title, int width, int height)
{
    // Opaque: the PNG is written without an alpha channel, a quarter fewer bytes to compress.
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint_ephemeris(painter, QRectF(0, 0, width, height), ephemeris, title);
    painter.end();
    return image;
}

QByteArray ephemeris_png(const Ephemeris& ephemeris, const QString& title, int width, int height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A light compression: a third of the time of the default for a few percent more bytes.
    ephemeris_image(ephemeris, title, width, height).save(&buffer, "PNG", 80);
    return bytes;
}

QByteArray ephemeris_svg(const Ephemeris& ephemeris, const QString& title, int width, int height)
{
    return svg_picture(width, height, title, Qt::white, [&](QPainter& painter) {
        paint_ephemeris(painter, QRectF(0, 0, width, height), ephemeris, title);
    });
}

QByteArray ephemeris_pdf(const Ephemeris& ephemeris, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Duoskop"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                  QPageLayout::Millimeter));
    pdf.setResolution(300);
    QPainter painter(&pdf);
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    paint_ephemeris(painter, QRectF(0, 0, page.width(), page.height()), ephemeris, title);
    painter.end();
    return bytes;
}

}  // namespace duoskop
