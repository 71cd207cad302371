// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dial_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "astro/un_math.h"
#include "base/file_writer.h"
#include "base/texts.h"
#include "desktop/markup.h"

namespace duoskop {

namespace {

const QColor person1_colour(0x00, 0x00, 0x80);  // navy, as the main window
const QColor person2_colour(0x00, 0x64, 0x00);  // dark green
const QColor pointer_colour(0xD0, 0x00, 0x00);
const QColor scale_colour(0x40, 0x40, 0x40);
const QColor highlight_colour(0xFF, 0xFF, 0x00);
const std::array<QColor, 2> arc_colours = {QColor(0xE0, 0x70, 0x00), QColor(0x80, 0x00, 0xA0)};

// Radii as parts of the dial's radius, from the outside in.
constexpr double r_outer_labels = 0.905;  // person 2's codes
constexpr double r_outer_leader = 0.855;
constexpr double r_outer_ticks = 0.80;    // person 2's ticks stand outside the scale
constexpr double r_scale = 0.76;          // the scale's circle; its ticks point inward
constexpr double r_numbers = 0.655;
constexpr double r_inner = 0.585;         // person 1's ticks point inward from here
constexpr double r_inner_ticks = 0.545;
constexpr double r_inner_leader = 0.525;
constexpr double r_inner_labels = 0.475;
constexpr std::array<double, 2> r_arcs = {0.385, 0.325};

QPointF at(double position, QPointF centre, double radius)
{
    const DialPoint p = dial_point(position, centre.x(), centre.y(), radius);
    return {p.x, p.y};
}

// Qt's arc angles: degrees counter-clockwise from three o'clock.
double qt_degrees(double position) { return 90.0 + normalize_dial(position) / dial_span * 360.0; }

QFont dial_font(double pixels, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(6, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

void draw_centred_text(QPainter& painter, QPointF centre, const QString& text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double w = metrics.horizontalAdvance(text);
    painter.drawText(QPointF(centre.x() - w / 2, centre.y() + (metrics.ascent() - metrics.descent()) / 2),
                     text);
}

// One person's ring: ticks at the true positions, the codes spread apart with leader lines.
void paint_ring(QPainter& painter, QPointF centre, double radius, const Positions& pos,
                const QColor& colour, bool outer, const std::array<bool, compared_bodies>& highlighted)
{
    const QFont font = dial_font(radius * 0.042, false);
    const QFont bold = dial_font(radius * 0.042, true);
    const QFontMetricsF metrics(bold, painter.device());
    const double label_radius = radius * (outer ? r_outer_labels : r_inner_labels);
    const double label_width = metrics.horizontalAdvance(QStringLiteral("MM")) + radius * 0.012;
    const double gap = label_width / (2 * std::numbers::pi * label_radius) * dial_span;

    // Only the bodies with a position take part (a person not loaded has none).
    std::vector<std::size_t> bodies;
    std::vector<double> true_positions;
    for (std::size_t i = 0; i < static_cast<std::size_t>(compared_bodies); ++i) {
        if (!std::isfinite(pos[i])) continue;
        bodies.push_back(i);
        true_positions.push_back(mod225(pos[i]));
    }
    const std::vector<double> shown = spread_labels(true_positions, gap);

    const double tick_from = radius * (outer ? r_scale : r_inner);
    const double tick_to = radius * (outer ? r_outer_ticks : r_inner_ticks);
    const double leader_at = radius * (outer ? r_outer_leader : r_inner_leader);
    for (std::size_t n = 0; n < bodies.size(); ++n) {
        const std::size_t i = bodies[n];
        const bool marked = highlighted[i];
        painter.setPen(QPen(marked ? pointer_colour : colour, radius * (marked ? 0.006 : 0.0035)));
        painter.drawLine(at(true_positions[n], centre, tick_from), at(true_positions[n], centre, tick_to));
        if (std::fabs(dial_difference(true_positions[n], shown[n])) > 1e-6) {
            painter.setPen(QPen(colour, radius * 0.002));
            painter.drawLine(at(true_positions[n], centre, tick_to), at(shown[n], centre, leader_at));
        }
        const QPointF label_centre = at(shown[n], centre, label_radius);
        const QString code = QString::fromLatin1(body_codes[i].data(), 2);
        if (marked) {
            const double h = metrics.height();
            const QRectF box(label_centre.x() - label_width / 2, label_centre.y() - h / 2, label_width, h);
            painter.setPen(QPen(Qt::black, radius * 0.002));
            painter.setBrush(highlight_colour);
            painter.drawRoundedRect(box, h * 0.2, h * 0.2);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setFont(marked ? bold : font);
        painter.setPen(colour);
        draw_centred_text(painter, label_centre, code);
    }
}

void paint_scale(QPainter& painter, QPointF centre, double radius)
{
    painter.setPen(QPen(scale_colour, radius * 0.004));
    painter.drawEllipse(centre, radius * r_scale, radius * r_scale);
    painter.setPen(QPen(scale_colour, radius * 0.0025));
    painter.drawEllipse(centre, radius * r_inner, radius * r_inner);
    // A tick every 0.25 degree, longer at the half and whole degrees.
    for (int quarter = 0; quarter < 90; ++quarter) {
        const double length = quarter % 4 == 0 ? 0.055 : quarter % 2 == 0 ? 0.035 : 0.02;
        painter.setPen(QPen(scale_colour, radius * (quarter % 4 == 0 ? 0.004 : 0.0025)));
        painter.drawLine(at(quarter * 0.25, centre, radius * r_scale),
                         at(quarter * 0.25, centre, radius * (r_scale - length)));
    }
    painter.setFont(dial_font(radius * 0.04, false));
    painter.setPen(scale_colour);
    for (int degree = 0; degree < 23; ++degree)
        draw_centred_text(painter, at(degree, centre, radius * r_numbers), QString::number(degree));
}

// The arc from one factor to the other that passes through the dial position of their midpoint.
void paint_arc(QPainter& painter, QPointF centre, double radius, const EntryFactor& from,
               const EntryFactor& to, double midpoint, double arc_radius, const QColor& colour)
{
    const double ccw = normalize_dial(to.position - from.position);
    const double ccw_middle = normalize_dial(from.position + ccw / 2);
    // The other way round the circle has its middle half a turn further.
    const double span = std::fabs(dial_difference(ccw_middle, midpoint)) <= dial_span / 4
                            ? ccw
                            : ccw - dial_span;
    const QRectF box(centre.x() - arc_radius, centre.y() - arc_radius, 2 * arc_radius, 2 * arc_radius);
    painter.setPen(QPen(colour, radius * 0.008, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, static_cast<int>(std::lround(qt_degrees(from.position) * 16)),
                    static_cast<int>(std::lround(span / dial_span * 360.0 * 16)));
    // Dashed spokes from the arc's ends to the factors' ticks in their rings.
    painter.setPen(QPen(colour, radius * 0.003, Qt::DashLine));
    for (const EntryFactor* f : {&from, &to}) {
        const double ring = radius * (f->person == 2 ? r_scale : r_inner_ticks);
        painter.drawLine(at(f->position, centre, arc_radius), at(f->position, centre, ring));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(at(normalize_dial(from.position + span / 2), centre, arc_radius), radius * 0.012,
                        radius * 0.012);
    painter.setBrush(Qt::NoBrush);
}

void paint_pointer(QPainter& painter, QPointF centre, double radius, double pointer)
{
    painter.setPen(QPen(pointer_colour, radius * 0.006, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(pointer, centre, radius * 0.06), at(pointer, centre, radius * 0.985));
    // The opposite end, short: the axis runs through the whole dial.
    painter.drawLine(at(pointer + dial_span / 2, centre, radius * 0.06),
                     at(pointer + dial_span / 2, centre, radius * 0.2));
    QPainterPath head;
    const double a = dial_angle(pointer);
    const QPointF tip = at(pointer, centre, radius * 0.995);
    const QPointF back = at(pointer, centre, radius * 0.94);
    const QPointF side(std::cos(a) * radius * 0.02, -std::sin(a) * radius * 0.02);
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    painter.fillPath(head, pointer_colour);
    // The pointer's position in the middle, on a plate over the pointer's line.
    const QString text = QString::fromLatin1(angle_text(2, 1, normalize_dial(pointer)).c_str());
    painter.setFont(dial_font(radius * 0.06, true));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double w = metrics.horizontalAdvance(text) + radius * 0.03;
    const double h = metrics.height() + radius * 0.01;
    painter.setPen(QPen(pointer_colour, radius * 0.003));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h), h * 0.2, h * 0.2);
    painter.setBrush(Qt::NoBrush);
    draw_centred_text(painter, centre, text);
}

}  // namespace

void show_entry_picture(DialScene& scene, const EntryPicture& picture)
{
    scene.pointer = picture.axis;
    scene.highlighted.fill(false);
    for (const EntryFactor& f : picture.factors) scene.highlighted[f.body] = true;
    scene.arcs = {{picture.factors[0], picture.factors[1]}, {picture.factors[2], picture.factors[3]}};
}

void paint_dial(QPainter& painter, const QRectF& area, const DialScene& scene)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const double side = std::min(area.width(), area.height());
    const QPointF centre = area.center();
    const double radius = side / 2 * 0.985;
    if (radius <= 0) {
        painter.restore();
        return;
    }

    painter.setPen(QPen(scale_colour, radius * 0.004));
    painter.setBrush(QColor(0xFF, 0xFF, 0xF4));
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
    paint_scale(painter, centre, radius);

    for (std::size_t i = 0; i < scene.arcs.size(); ++i) {
        const auto& [from, to] = scene.arcs[i];
        const Positions& p_from = from.person == 2 && scene.pos2 ? *scene.pos2 : scene.pos1;
        const Positions& p_to = to.person == 2 && scene.pos2 ? *scene.pos2 : scene.pos1;
        const double midpoint = mod225((p_from[from.body] + p_to[to.body]) / 2);
        paint_arc(painter, centre, radius, from, to, midpoint, radius * r_arcs[i % r_arcs.size()],
                  arc_colours[i % arc_colours.size()]);
    }

    paint_ring(painter, centre, radius, scene.pos1, person1_colour, false, scene.highlighted);
    if (scene.pos2) paint_ring(painter, centre, radius, *scene.pos2, person2_colour, true, scene.highlighted);
    if (scene.pointer) paint_pointer(painter, centre, radius, *scene.pointer);

    // Which ring is whose, in the corners the circle leaves free.
    painter.setFont(dial_font(radius * 0.038, true));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QPointF corner = centre - QPointF(side / 2, side / 2);
    if (!scene.legend1.isEmpty()) {
        painter.setPen(person1_colour);
        painter.drawText(corner + QPointF(radius * 0.01, metrics.ascent()), scene.legend1);
    }
    if (!scene.legend2.isEmpty()) {
        painter.setPen(person2_colour);
        painter.drawText(corner + QPointF(side - metrics.horizontalAdvance(scene.legend2) - radius * 0.01,
                                          metrics.ascent()),
                         scene.legend2);
    }
    painter.restore();
}

QImage dial_image(const DialScene& scene, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint_dial(painter, QRectF(0, 0, size, size), scene);
    painter.end();
    return image;
}

QByteArray dial_png(const DialScene& scene, int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    dial_image(scene, size).save(&buffer, "PNG");
    return bytes;
}

QByteArray dial_svg(const DialScene& scene, int size, const QString& title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(size, size));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setResolution(96);
    // The generator writes its title as it is given: a stand-in goes in and the title, escaped,
    // takes its place afterwards (the drawn texts the generator escapes itself).
    const QByteArray stand_in = QByteArrayLiteral("duoskop-titel-7f3a9c");
    svg.setTitle(QString::fromLatin1(stand_in));
    QPainter painter(&svg);
    painter.fillRect(QRectF(0, 0, size, size), Qt::white);
    paint_dial(painter, QRectF(0, 0, size, size), scene);
    painter.end();
    bytes.replace(QByteArray("<title>" + stand_in + "</title>"), "<title>" + markup_text(title).toUtf8() + "</title>");
    return bytes;
}

std::string save_picture(const std::string& path, const QByteArray& bytes)
{
    if (bytes.isEmpty()) return std::string(texts::kDialNoPicture);
    const WriteResult written =
        write_file_whole(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return written.ok() ? std::string() : written.message();
}

}  // namespace duoskop
