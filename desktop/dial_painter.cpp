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
#include <functional>
#include <numbers>

#include "app/dial.h"
#include "astro/un_math.h"
#include "base/file_writer.h"
#include "base/texts.h"
#include "desktop/markup.h"
#include "dialview/midpoints.h"

namespace duoskop {

namespace {

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

// With a third ring the dial of both persons shrinks to this part of the radius, and the movers
// stand in the band outside it (parts of the whole radius).
constexpr double r_dial_with_movers = 0.80;
constexpr double r_movers_ticks = 0.84;
constexpr double r_movers_leader = 0.87;
constexpr double r_movers_labels = 0.925;

// Where a ring of factors stands, as parts of the dial's radius: its ticks run from `tick_from` to
// `tick_to`, a leader line from there to `leader`, the codes stand at `labels`.
struct RingPlace {
    double tick_from, tick_to, leader, labels;
};
constexpr RingPlace inner_ring{r_inner, r_inner_ticks, r_inner_leader, r_inner_labels};
constexpr RingPlace outer_ring{r_scale, r_outer_ticks, r_outer_leader, r_outer_labels};

// The scale of each dial size: a tick every `step` degrees, every `medium`-th of them longer and
// every `major`-th longest, a number every `numbers` whole degrees (0: none); the 360-degree dial
// marks the signs instead, with a line at each sign's start and its code in its middle.
struct ScaleStyle {
    double modulus;
    double step;
    int medium;
    int major;
    int numbers;
    bool signs;
};
constexpr ScaleStyle scale_styles[] = {
    {360.0, 1.0, 5, 10, 0, true},     // 1, 5 and 10 degrees
    {90.0, 0.5, 2, 10, 5, false},     // half, whole and 5 degrees
    {45.0, 0.25, 2, 4, 1, false},     // quarter, half and whole degrees
    {22.5, 0.25, 2, 4, 1, false},     // quarter, half and whole degrees
    {11.25, 0.125, 4, 8, 1, false},   // eighth, half and whole degrees
};
static_assert(std::size(scale_styles) == std::size(dial_moduli));

const ScaleStyle& scale_style(double modulus)
{
    for (const ScaleStyle& style : scale_styles)
        if (style.modulus == modulus) return style;
    return scale_styles[3];
}

QPointF at(double position, QPointF centre, double radius, double modulus)
{
    const DialPoint p = dial_point(position, centre.x(), centre.y(), radius, modulus);
    return {p.x, p.y};
}

// Qt's arc angles: degrees counter-clockwise from three o'clock.
double qt_degrees(double position, double modulus)
{
    return 90.0 + normalize_dial(position, modulus) / modulus * 360.0;
}

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

// Where the codes of a ring stand: the dial positions of the given longitudes and the spread
// positions of their codes (both in the order given), and the width of a code.
struct RingLabels {
    std::vector<double> true_positions;
    std::vector<double> shown;
    double label_width = 0;
};

RingLabels ring_labels(const QFontMetricsF& bold_metrics, double radius, double modulus,
                       const std::vector<double>& longitudes, const RingPlace& place)
{
    RingLabels labels;
    labels.label_width = bold_metrics.horizontalAdvance(QStringLiteral("MM")) + radius * 0.012;
    const double gap = labels.label_width / (2 * std::numbers::pi * radius * place.labels) * modulus;
    for (const double longitude : longitudes) labels.true_positions.push_back(dial_position(longitude, modulus));
    labels.shown = spread_labels(labels.true_positions, gap, modulus);
    return labels;
}

// One ring of factors: ticks at the true positions, the codes spread apart with leader lines.
void paint_ring(QPainter& painter, QPointF centre, double radius, double modulus, const Positions& pos,
                const QColor& colour, const RingPlace& place,
                const std::array<bool, compared_bodies>& highlighted, const PictureColours& colours)
{
    const QFont font = dial_font(radius * 0.042, false);
    const QFont bold = dial_font(radius * 0.042, true);
    const QFontMetricsF metrics(bold, painter.device());
    const double label_radius = radius * place.labels;

    // Only the bodies with a position take part (a person not loaded has none).
    std::vector<std::size_t> bodies;
    std::vector<double> longitudes;
    for (std::size_t i = 0; i < static_cast<std::size_t>(compared_bodies); ++i) {
        if (!std::isfinite(pos[i])) continue;
        bodies.push_back(i);
        longitudes.push_back(pos[i]);
    }
    const RingLabels labels = ring_labels(metrics, radius, modulus, longitudes, place);
    const std::vector<double>& true_positions = labels.true_positions;
    const std::vector<double>& shown = labels.shown;
    const double label_width = labels.label_width;

    const double tick_from = radius * place.tick_from;
    const double tick_to = radius * place.tick_to;
    const double leader_at = radius * place.leader;
    for (std::size_t n = 0; n < bodies.size(); ++n) {
        const std::size_t i = bodies[n];
        const bool marked = highlighted[i];
        painter.setPen(QPen(marked ? colours.pointer : colour, radius * (marked ? 0.006 : 0.0035)));
        painter.drawLine(at(true_positions[n], centre, tick_from, modulus),
                         at(true_positions[n], centre, tick_to, modulus));
        if (std::fabs(dial_difference(true_positions[n], shown[n], modulus)) > 1e-6 * modulus / dial_span) {
            painter.setPen(QPen(colour, radius * 0.002));
            painter.drawLine(at(true_positions[n], centre, tick_to, modulus),
                             at(shown[n], centre, leader_at, modulus));
        }
        const QPointF label_centre = at(shown[n], centre, label_radius, modulus);
        const QString code = QString::fromLatin1(body_codes[i].data(), 2);
        if (marked) {
            const double h = metrics.height();
            const QRectF box(label_centre.x() - label_width / 2, label_centre.y() - h / 2, label_width, h);
            painter.setPen(QPen(colours.text, radius * 0.002));
            painter.setBrush(colours.highlight);
            painter.drawRoundedRect(box, h * 0.2, h * 0.2);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setFont(marked ? bold : font);
        painter.setPen(colour);
        draw_centred_text(painter, label_centre, code);
    }
}

// The code and mark of a mover's label: "SB1:SO" is SO with a small 1 (person 1's solar arc),
// "T:SA" is SA with a small T (a transit).
std::pair<QString, QString> mover_label(const std::string& name)
{
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos) return {QString::fromLatin1(name.c_str()), QString()};
    const QString code = QString::fromLatin1(name.substr(colon + 1).c_str());
    const std::string kind = name.substr(0, colon);
    return {code, QString::fromLatin1(kind == "T" ? "T" : kind.substr(kind.size() > 2 ? 2 : 0).c_str())};
}

// The third ring: a tick per mover just outside the dial of both persons, its code spread apart
// with a leader line and a small mark after it. `radius` is the whole radius.
void paint_movers(QPainter& painter, QPointF centre, double radius, double modulus,
                  const std::vector<MovingPoint>& movers, const QColor& movers_colour)
{
    const QFont font = dial_font(radius * 0.036, true);
    const QFont small = dial_font(radius * 0.024, true);
    const QFontMetricsF metrics(font, painter.device());
    const QFontMetricsF small_metrics(small, painter.device());
    const double label_radius = radius * r_movers_labels;
    const double label_width = metrics.horizontalAdvance(QStringLiteral("MM")) +
                               small_metrics.horizontalAdvance(QStringLiteral("T")) + radius * 0.012;
    const double gap = label_width / (2 * std::numbers::pi * label_radius) * modulus;

    painter.setPen(QPen(movers_colour, radius * 0.0025));
    painter.drawEllipse(centre, radius * r_dial_with_movers, radius * r_dial_with_movers);

    std::vector<const MovingPoint*> shown_movers;
    std::vector<double> true_positions;
    for (const MovingPoint& m : movers) {
        if (!std::isfinite(m.longitude)) continue;
        shown_movers.push_back(&m);
        true_positions.push_back(dial_position(m.longitude, modulus));
    }
    const std::vector<double> shown = spread_labels(true_positions, gap, modulus);
    for (std::size_t n = 0; n < shown_movers.size(); ++n) {
        painter.setPen(QPen(movers_colour, radius * 0.0035));
        painter.drawLine(at(true_positions[n], centre, radius * r_dial_with_movers, modulus),
                         at(true_positions[n], centre, radius * r_movers_ticks, modulus));
        if (std::fabs(dial_difference(true_positions[n], shown[n], modulus)) > 1e-6 * modulus / dial_span) {
            painter.setPen(QPen(movers_colour, radius * 0.002));
            painter.drawLine(at(true_positions[n], centre, radius * r_movers_ticks, modulus),
                             at(shown[n], centre, radius * r_movers_leader, modulus));
        }
        // The code centred with its mark, the mark set small and a little lower.
        const auto [code, mark] = mover_label(shown_movers[n]->name);
        const double code_w = metrics.horizontalAdvance(code);
        const double mark_w = small_metrics.horizontalAdvance(mark);
        const QPointF c = at(shown[n], centre, label_radius, modulus);
        const double baseline = c.y() + (metrics.ascent() - metrics.descent()) / 2;
        const double left = c.x() - (code_w + mark_w) / 2;
        painter.setPen(movers_colour);
        painter.setFont(font);
        painter.drawText(QPointF(left, baseline), code);
        painter.setFont(small);
        painter.drawText(QPointF(left + code_w, baseline + small_metrics.descent()), mark);
    }
}

void paint_scale(QPainter& painter, QPointF centre, double radius, const ScaleStyle& style,
                 const QColor& scale_colour)
{
    const double m = style.modulus;
    painter.setPen(QPen(scale_colour, radius * 0.004));
    painter.drawEllipse(centre, radius * r_scale, radius * r_scale);
    painter.setPen(QPen(scale_colour, radius * 0.0025));
    painter.drawEllipse(centre, radius * r_inner, radius * r_inner);
    // The ticks point inward from the scale's circle, longer at the medium and major steps.
    const int ticks = static_cast<int>(std::lround(m / style.step));
    for (int tick = 0; tick < ticks; ++tick) {
        const bool major = tick % style.major == 0;
        const double length = major ? 0.055 : tick % style.medium == 0 ? 0.035 : 0.02;
        painter.setPen(QPen(scale_colour, radius * (major ? 0.004 : 0.0025)));
        painter.drawLine(at(tick * style.step, centre, radius * r_scale, m),
                         at(tick * style.step, centre, radius * (r_scale - length), m));
    }
    painter.setFont(dial_font(radius * 0.04, false));
    painter.setPen(scale_colour);
    if (style.numbers > 0)
        for (int degree = 0; degree < m; degree += style.numbers)
            draw_centred_text(painter, at(degree, centre, radius * r_numbers, m), QString::number(degree));
    if (style.signs) {
        for (int sign = 0; sign < 12; ++sign) {
            painter.setPen(QPen(scale_colour, radius * 0.004));
            painter.drawLine(at(sign * 30, centre, radius * r_scale, m), at(sign * 30, centre, radius * r_inner, m));
            painter.setPen(scale_colour);
            const double middle = sign * 30 + 15;
            draw_centred_text(painter, at(middle, centre, radius * r_numbers, m),
                              QString::fromLatin1(sign_text(middle).c_str()));
        }
    }
}

// The arc from one factor to the other that passes through the dial position of their midpoint;
// `from` and `to` are the factors' dial positions on the dial of `modulus`.
void paint_arc(QPainter& painter, QPointF centre, double radius, double modulus, const EntryFactor& factor_from,
               double from, const EntryFactor& factor_to, double to, double midpoint, double arc_radius,
               const QColor& colour)
{
    const double ccw = normalize_dial(to - from, modulus);
    const double ccw_middle = normalize_dial(from + ccw / 2, modulus);
    // The other way round the circle has its middle half a turn further.
    const double span = std::fabs(dial_difference(ccw_middle, midpoint, modulus)) <= modulus / 4
                            ? ccw
                            : ccw - modulus;
    const QRectF box(centre.x() - arc_radius, centre.y() - arc_radius, 2 * arc_radius, 2 * arc_radius);
    painter.setPen(QPen(colour, radius * 0.008, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, static_cast<int>(std::lround(qt_degrees(from, modulus) * 16)),
                    static_cast<int>(std::lround(span / modulus * 360.0 * 16)));
    // Dashed spokes from the arc's ends to the factors' ticks in their rings.
    painter.setPen(QPen(colour, radius * 0.003, Qt::DashLine));
    for (const auto& [f, position] : {std::pair{&factor_from, from}, std::pair{&factor_to, to}}) {
        const double ring = radius * (f->person == 2 ? r_scale : r_inner_ticks);
        painter.drawLine(at(position, centre, arc_radius, modulus), at(position, centre, ring, modulus));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(at(normalize_dial(from + span / 2, modulus), centre, arc_radius, modulus),
                        radius * 0.012, radius * 0.012);
    painter.setBrush(Qt::NoBrush);
}

// `radius` is that of the dial of both persons, `reach` the whole radius the pointer runs to.
void paint_pointer(QPainter& painter, QPointF centre, double radius, double reach, double modulus, double pointer,
                   const PictureColours& colours)
{
    const QColor& pointer_colour = colours.pointer;
    painter.setPen(QPen(pointer_colour, radius * 0.006, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(pointer, centre, radius * 0.06, modulus), at(pointer, centre, reach * 0.985, modulus));
    // The opposite end, short: the axis runs through the whole dial.
    painter.drawLine(at(pointer + modulus / 2, centre, radius * 0.06, modulus),
                     at(pointer + modulus / 2, centre, radius * 0.2, modulus));
    QPainterPath head;
    const double a = dial_angle(pointer, modulus);
    const QPointF tip = at(pointer, centre, reach * 0.995, modulus);
    const QPointF back = at(pointer, centre, radius * 0.94 + (reach - radius) * 0.995, modulus);
    const QPointF side(std::cos(a) * radius * 0.02, -std::sin(a) * radius * 0.02);
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    painter.fillPath(head, pointer_colour);
    // The pointer's position in the middle, on a plate over the pointer's line.
    const QString text = QString::fromLatin1(pointer_text(normalize_dial(pointer, modulus), modulus).c_str());
    painter.setFont(dial_font(radius * 0.06, true));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double w = metrics.horizontalAdvance(text) + radius * 0.03;
    const double h = metrics.height() + radius * 0.01;
    painter.setPen(QPen(pointer_colour, radius * 0.003));
    painter.setBrush(colours.pointer_fill);
    painter.drawRoundedRect(QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h), h * 0.2, h * 0.2);
    painter.setBrush(Qt::NoBrush);
    draw_centred_text(painter, centre, text);
}

}  // namespace

std::vector<QRectF> ring_label_boxes(const QRectF& area, double modulus, int ring,
                                     const std::vector<double>& longitudes)
{
    const double radius = std::min(area.width(), area.height()) / 2 * 0.985;
    if (radius <= 0 || ring < 0 || ring > 1) return std::vector<QRectF>(longitudes.size());
    const RingPlace& place = ring == 0 ? inner_ring : outer_ring;
    const double m = scale_style(modulus).modulus;
    const QFontMetricsF metrics(dial_font(radius * 0.042, true));
    const RingLabels labels = ring_labels(metrics, radius, m, longitudes, place);
    const double h = metrics.height();
    std::vector<QRectF> boxes;
    for (const double shown : labels.shown) {
        const QPointF c = at(shown, area.center(), radius * place.labels, m);
        boxes.emplace_back(c.x() - labels.label_width / 2, c.y() - h / 2, labels.label_width, h);
    }
    return boxes;
}

void show_entry_picture(DialScene& scene, const EntryPicture& picture)
{
    scene.pointer = scene.modulus == dial_span ? picture.axis : dial_position(picture.axis_longitude, scene.modulus);
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
    const double whole = side / 2 * 0.985;
    if (whole <= 0) {
        painter.restore();
        return;
    }
    // With a third ring the dial of both persons stands inside it, smaller.
    const bool movers = !scene.movers.empty();
    const double radius = movers ? whole * r_dial_with_movers : whole;

    const PictureColours& colours = scene.colours;
    painter.setPen(QPen(colours.scale, whole * 0.004));
    painter.setBrush(colours.face);
    painter.drawEllipse(centre, whole, whole);
    painter.setBrush(Qt::NoBrush);
    const ScaleStyle& style = scale_style(scene.modulus);
    const double m = style.modulus;
    paint_scale(painter, centre, radius, style, colours.scale);

    for (std::size_t i = 0; i < scene.arcs.size(); ++i) {
        const auto& [from, to] = scene.arcs[i];
        const Positions& p_from = from.person == 2 && scene.pos2 ? *scene.pos2 : scene.pos1;
        const Positions& p_to = to.person == 2 && scene.pos2 ? *scene.pos2 : scene.pos1;
        const double lon_from = p_from[from.body];
        const double lon_to = p_to[to.body];
        // The 22.5-degree dial keeps the positions the entry was given; the 360-degree dial draws
        // the midpoint at its nearer point, the shorter arc.
        const bool comparisons_dial = m == dial_span;
        const double midpoint = comparisons_dial ? mod225((lon_from + lon_to) / 2)
                                : m == 360   ? nearer_midpoint(lon_from, lon_to)
                                             : dial_position((lon_from + lon_to) / 2, m);
        paint_arc(painter, centre, radius, m, from, comparisons_dial ? from.position : dial_position(lon_from, m),
                  to, comparisons_dial ? to.position : dial_position(lon_to, m), midpoint,
                  radius * r_arcs[i % r_arcs.size()], colours.arcs[i % colours.arcs.size()]);
    }

    // The rings from the inside out; a further ring is one more line here.
    struct Ring {
        const Positions* pos;
        QColor colour;
        RingPlace place;
    };
    std::vector<Ring> rings = {{&scene.pos1, colours.person1, inner_ring}};
    if (scene.pos2) rings.push_back({&*scene.pos2, colours.person2, outer_ring});
    for (const Ring& ring : rings)
        paint_ring(painter, centre, radius, m, *ring.pos, ring.colour, ring.place, scene.highlighted, colours);
    if (movers) paint_movers(painter, centre, whole, m, scene.movers, colours.movers);
    if (scene.pointer) paint_pointer(painter, centre, radius, whole, m, *scene.pointer, colours);

    // Which ring is whose, in the corners the circle leaves free.
    painter.setFont(dial_font(whole * 0.038, true));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QPointF corner = centre - QPointF(side / 2, side / 2);
    if (!scene.legend1.isEmpty()) {
        painter.setPen(colours.person1);
        painter.drawText(corner + QPointF(whole * 0.01, metrics.ascent()), scene.legend1);
    }
    if (!scene.legend2.isEmpty()) {
        painter.setPen(colours.person2);
        painter.drawText(corner + QPointF(side - metrics.horizontalAdvance(scene.legend2) - whole * 0.01,
                                          metrics.ascent()),
                         scene.legend2);
    }
    if (movers && !scene.legend_movers.isEmpty()) {
        painter.setPen(colours.movers);
        painter.drawText(corner + QPointF(whole * 0.01, side - metrics.descent()), scene.legend_movers);
    }
    painter.restore();
}

QImage dial_image(const DialScene& scene, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(scene.colours.background);
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

QByteArray svg_picture(int width, int height, const QString& title, const QColor& background,
                       const std::function<void(QPainter&)>& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96);
    // The generator writes its title as it is given: a stand-in goes in and the title, escaped,
    // takes its place afterwards (the drawn texts the generator escapes itself).
    const QByteArray stand_in = QByteArrayLiteral("duoskop-titel-7f3a9c");
    svg.setTitle(QString::fromLatin1(stand_in));
    QPainter painter(&svg);
    painter.fillRect(QRectF(0, 0, width, height), background);
    paint(painter);
    painter.end();
    bytes.replace(QByteArray("<title>" + stand_in + "</title>"), "<title>" + markup_text(title).toUtf8() + "</title>");
    return bytes;
}

QByteArray dial_svg(const DialScene& scene, int size, const QString& title)
{
    return svg_picture(size, size, title, scene.colours.background,
                       [&](QPainter& painter) { paint_dial(painter, QRectF(0, 0, size, size), scene); });
}

std::string save_picture(const std::string& path, const QByteArray& bytes)
{
    if (bytes.isEmpty()) return std::string(texts::kDialNoPicture);
    const WriteResult written =
        write_file_whole(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return written.ok() ? std::string() : written.message();
}

}  // namespace duoskop
