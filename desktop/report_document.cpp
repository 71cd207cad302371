// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report_document.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

#include "app/dial.h"
#include "astro/un_math.h"
#include "base/cp1252.h"
#include "base/texts.h"
#include "desktop/dial_painter.h"
#include "desktop/ephemeris_painter.h"
#include "desktop/markup.h"
#include "report/hyphenation.h"
#include "report/report_model.h"
#include "report/report_texts.h"
#include "timeline/timeline_export.h"

namespace duoskop {

namespace {

// Page geometry in millimetres (A4) and the fonts of the document.
constexpr double mm_margin_side = 20;
constexpr double mm_margin_top = 22;
constexpr double mm_margin_bottom = 24;
constexpr double mm_header_gap = 6;   // from the header's rule to the text
constexpr double dial_share = 0.62;   // the dial's edge as a share of the text width
constexpr double mm_block_gap = 1.8;  // between two blocks on a page
const QString sans = QStringLiteral("DejaVu Sans");
const QString mono = QStringLiteral("DejaVu Sans Mono");
const QString dial_resource = QStringLiteral("duoskop-scheibe.png");
// The dial's place in the HTML, taken by the inline SVG once the document is written: a picture,
// which no text of the report can become (its < is escaped).
const QString dial_placeholder = QStringLiteral("duoskop-scheibe-svg");
const QString ephemeris_placeholder = QStringLiteral("duoskop-ephemeride-svg");
const QString ephemeris_resource = QStringLiteral("duoskop-ephemeride.png");
/// The graphic ephemeris' height as a part of its width.
constexpr double ephemeris_aspect = 0.7;

QString q(std::string_view cp1252) { return QString::fromStdString(cp1252_to_utf8(cp1252)); }
/// A text of the report (Windows-1252) as it goes into the HTML of a block: never markup.
QString esc(std::string_view cp1252) { return markup_text(q(cp1252)); }
/// Running texts with soft hyphens in their long words, hyphenated together in one go.
using Prose = std::unordered_map<std::string, std::string>;

/// Degrees and minutes with the degree sign and the prime: 05°30′.
QString angle(double x, int mode) { return q(angle_text(2, mode, x)).replace(QLatin1Char('\''), QChar(0x2032)); }

QString person_name(const chart_record& r) { return q(r.first_name + " " + r.name); }

QString header_text(const ReportModel& m)
{
    return person_name(m.person1.record) + QStringLiteral("  \u2013  ") + person_name(m.person2.record);
}

/// The document's title as its metadata gives it (PDF, HTML): the typed title (else the
/// default one) and both persons.
QString document_title(const ReportModel& m)
{
    return q(m.title.empty() ? std::string(texts::kReportDefaultTitle) : m.title) + QStringLiteral(": ") +
           header_text(m);
}

const char* style_sheet =
    "body { font-family: 'DejaVu Sans'; font-size: 10pt; }"
    "h1 { font-size: 20pt; margin-bottom: 4pt; }"
    "h2 { font-size: 15pt; margin-top: 0pt; margin-bottom: 8pt; }"
    "h3 { font-size: 11.5pt; margin-top: 10pt; margin-bottom: 4pt; }"
    "p { margin-top: 0pt; margin-bottom: 3pt; }"
    "pre { font-family: 'DejaVu Sans Mono'; font-size: 8pt; margin-top: 0pt; margin-bottom: 0pt; }"
    "th { text-align: left; }"
    ".mark { color: #555555; font-size: 8.5pt; }"
    ".entry { font-weight: bold; }"
    ".small { font-size: 8.5pt; color: #333333; }";

// ---- The pieces of the report, as HTML fragments ------------------------------------------------

QString title_html(const ReportModel& m)
{
    QString h;
    const std::string title = m.title.empty() ? std::string(texts::kReportDefaultTitle) : m.title;
    h += QStringLiteral("<h1>%1</h1>").arg(esc(title));
    h += QStringLiteral("<p class=\"small\">%1</p><p></p>").arg(esc(settings_line(m.settings)));
    const auto row = [&](std::string_view label, const QString& a, const QString& b) {
        return QStringLiteral("<tr><th>%1</th><td>%2</td><td>%3</td></tr>").arg(esc(label), a, b);
    };
    const chart_record& a = m.person1.record;
    const chart_record& b = m.person2.record;
    const auto time = [](const chart_record& r) {
        return esc(r.time) + (r.time == "12:00:00" ? esc(texts::kReportUnknownTime) : QString());
    };
    const auto point = [](const Positions& pos, std::size_t i) {
        return angle(pos[i], 30) + QLatin1Char(' ') + q(sign_text(pos[i]));
    };
    h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">");
    h += QStringLiteral("<tr><th width=\"24%\"></th><th width=\"38%\">%1</th><th width=\"38%\">%2</th></tr>")
             .arg(esc(texts::kReportPerson1), esc(texts::kReportPerson2));
    h += row(texts::kReportName, esc(a.name), esc(b.name));
    h += row(texts::kReportFirstName, esc(a.first_name), esc(b.first_name));
    h += row(texts::kReportDate, esc(a.date), esc(b.date));
    h += row(texts::kReportTime, time(a), time(b));
    h += row(texts::kReportPlace, esc(a.extra), esc(b.extra));
    h += row(texts::kReportLongitude, esc(a.longitude_text), esc(b.longitude_text));
    h += row(texts::kReportLatitude, esc(a.latitude_text), esc(b.latitude_text));
    h += row(texts::kReportSun, point(m.person1.pos, 2), point(m.person2.pos, 2));
    h += row(texts::kReportMc, point(m.person1.pos, 0), point(m.person2.pos, 0));
    h += row(texts::kReportAs, point(m.person1.pos, 3), point(m.person2.pos, 3));
    h += QStringLiteral("</table>");
    if (!m.astrologer.empty()) {
        h += QStringLiteral("<p></p>");
        for (const std::string& line : m.astrologer) h += QStringLiteral("<p>%1</p>").arg(esc(line));
    }
    return h;
}

QString dial_heading_html() { return QStringLiteral("<h3>%1</h3>").arg(esc(texts::kReportDial)); }

QString positions_html(const ReportModel& m, bool with_heading)
{
    QString h;
    if (with_heading) h += QStringLiteral("<h2>%1</h2>").arg(esc(texts::kReportPositions));
    h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\"><tr><th width=\"12%\">%1</th>"
                        "<th width=\"26%\">%2</th><th width=\"18%\">%3</th><th width=\"26%\">%4</th><th width=\"18%\">%5</th></tr>")
             .arg(esc(texts::kReportFactor),
                  esc(texts::kReportPerson1) + QLatin1Char(' ') + esc(texts::kReportLongitudeColumn),
                  esc(texts::kReportDialColumn),
                  esc(texts::kReportPerson2) + QLatin1Char(' ') + esc(texts::kReportLongitudeColumn),
                  esc(texts::kReportDialColumn));
    for (std::size_t i = 0; i < body_codes.size(); ++i) {
        const auto lon = [&](const Positions& pos) { return angle(pos[i], 30) + QLatin1Char(' ') + q(sign_text(pos[i])); };
        h += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
                 .arg(q(body_codes[i]), lon(m.person1.pos), angle(m.person1.pos[i], 22), lon(m.person2.pos),
                      angle(m.person2.pos[i], 22));
    }
    h += QStringLiteral("</table>");
    return h;
}

QString chapter_heading_html(const ReportChapter& c, int number)
{
    return QStringLiteral("<h2>%1. %2</h2>").arg(number).arg(esc(c.title));
}

/// The report lines in pieces that stand together: split at empty lines, at most 40 lines each.
std::vector<QString> report_line_pieces(const ReportChapter& c)
{
    std::vector<QString> pieces;
    QString piece;
    int count = 0;
    const auto flush = [&] {
        if (count > 0) pieces.push_back(QStringLiteral("<pre>%1</pre>").arg(piece));
        piece.clear();
        count = 0;
    };
    for (const std::string& line : c.lines) {
        const bool empty = line.find_first_not_of(' ') == std::string::npos;
        if (count > 0) piece += QLatin1Char('\n');
        piece += esc(line);
        ++count;
        if (empty || count >= 40) flush();
    }
    flush();
    return pieces;
}

QString entries_heading_html(const ReportChapter& c)
{
    QString h = QStringLiteral("<h3>%1 (%2)</h3>").arg(esc(texts::kReportEntries)).arg(c.entries.size());
    if (c.entries.empty()) h += QStringLiteral("<p>%1</p>").arg(esc(texts::kReportNoEntries));
    return h;
}

/// The paragraphs of an entry's text: a picture text's lines were broken for a fixed width and
/// flow as one paragraph; the two single meanings stand one per paragraph.
std::vector<std::string> entry_paragraphs(const ReportEntry& e)
{
    if (e.text.source != TextSource::picture) return e.text.lines;
    std::string paragraph;
    for (const std::string& line : e.text.lines) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        if (!paragraph.empty()) paragraph += ' ';
        paragraph += line.substr(start);
    }
    return {paragraph};
}

Prose hyphenated_prose(const ReportModel& m)
{
    std::vector<std::string> texts;
    for (const ReportChapter& c : m.chapters)
        for (const ReportEntry& e : c.entries)
            for (std::string& p : entry_paragraphs(e)) texts.push_back(std::move(p));
    const std::vector<std::string> broken = Hyphenator::german().hyphenate(texts);
    Prose prose;
    for (std::size_t i = 0; i < texts.size(); ++i) prose.emplace(texts[i], broken[i]);
    return prose;
}

QString entry_html(const ReportEntry& e, const ReportSettings& s, const Prose& prose)
{
    QString h = QStringLiteral("<p style=\"margin-top:6pt\"><span class=\"entry\">%1</span>"
                               "&nbsp;&nbsp;&nbsp;<span class=\"mark\">[%2]</span>")
                    .arg(esc(e.entry), esc(source_mark(e.text.source)));
    if (e.stability && s.time_window)
        h += QStringLiteral("&nbsp;&nbsp;<span class=\"mark\">%1%2</span>")
                 .arg(esc(texts::kReportZeitprobe), esc(stability_text(*e.stability, *s.time_window)));
    h += QStringLiteral("</p>");
    if (!e.text.io_error.empty())
        h += QStringLiteral("<p>%1%2</p>").arg(esc(texts::kReportTextError), esc(e.text.io_error));
    for (const std::string& paragraph : entry_paragraphs(e)) {
        const auto found = prose.find(paragraph);
        h += QStringLiteral("<p>%1</p>").arg(esc(found != prose.end() ? found->second : paragraph));
    }
    return h;
}

// ---- The chapter of hits in time ----------------------------------------------------------------

QString timeline_heading_html(const ReportTimeline& t, int number)
{
    QString h = QStringLiteral("<h2>%1. %2</h2><p>%3</p>").arg(number).arg(esc(t.title), esc(texts::kReportTimelineIntro));
    for (const std::string& note : t.notes) h += QStringLiteral("<p><i>%1</i></p>").arg(esc(note));
    h += QStringLiteral("<h3>%1</h3>").arg(esc(texts::kReportClusters));
    if (t.clusters.empty()) h += QStringLiteral("<p>%1</p>").arg(esc(texts::kReportNoClusters));
    return h;
}

/// The clusters, one paragraph each.
std::vector<QString> timeline_cluster_html(const ReportTimeline& t)
{
    std::vector<QString> pieces;
    for (const std::string& line : t.clusters) pieces.push_back(QStringLiteral("<p>%1</p>").arg(esc(line)));
    return pieces;
}

/// The hits month by month: a heading per month, its rows in tables of at most 40 rows.
std::vector<QString> timeline_month_html(const ReportTimeline& t)
{
    std::vector<QString> pieces;
    if (t.months.empty()) pieces.push_back(QStringLiteral("<p>%1</p>").arg(esc(texts::kReportNoHits)));
    QString columns;
    const std::vector<std::string> header = hit_header();
    for (std::size_t c = 0; c + 1 < header.size(); ++c)
        columns += QStringLiteral("<th>%1</th>").arg(esc(c == 1 ? header[c] + " (UT)" : header[c]));
    for (const ReportTimeline::Month& month : t.months) {
        for (std::size_t first = 0; first < month.rows.size(); first += 40) {
            QString h;
            if (first == 0) h += QStringLiteral("<h3>%1</h3>").arg(esc(month.title));
            h += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\"><tr>%1</tr>").arg(columns);
            for (std::size_t r = first; r < month.rows.size() && r < first + 40; ++r) {
                h += QStringLiteral("<tr>");
                for (const std::string& field : month.rows[r]) h += QStringLiteral("<td>%1</td>").arg(esc(field));
                h += QStringLiteral("</tr>");
            }
            pieces.push_back(h + QStringLiteral("</table>"));
        }
    }
    return pieces;
}

DialScene report_scene(const ReportModel& m)
{
    DialScene scene;
    scene.pos1 = m.person1.pos;
    scene.pos2 = m.person2.pos;
    scene.legend1 = q(std::string(texts::kDialInner) + m.person1.record.first_name + " " + m.person1.record.name);
    scene.legend2 = q(std::string(texts::kDialOuter) + m.person2.record.first_name + " " + m.person2.record.name);
    return scene;
}

/// The heading over the graphic ephemeris at the end of the chapter of hits in time.
QString ephemeris_heading_html(const ReportModel& m)
{
    return QStringLiteral("<h3>%1</h3>").arg(markup_text(q(m.ephemeris_title)));
}

// ---- Page layout ---------------------------------------------------------------------------------

enum class BlockKind { html, dial, ephemeris, page_break, contents };

struct Block {
    BlockKind kind = BlockKind::html;
    QString html;
    int contents_entry = -1;  ///< index into the contents list when this block starts an entry of it
};

std::vector<Block> report_blocks(const ReportModel& m)
{
    const Prose prose = hyphenated_prose(m);
    std::vector<Block> blocks;
    blocks.push_back({BlockKind::html, title_html(m), -1});
    blocks.push_back({BlockKind::html, dial_heading_html(), 0});
    blocks.push_back({BlockKind::dial, {}, -1});
    blocks.push_back({BlockKind::contents, {}, -1});
    blocks.push_back({BlockKind::page_break, {}, -1});
    blocks.push_back({BlockKind::html, positions_html(m, true), 1});
    int number = 0;
    for (const ReportChapter& c : m.chapters) {
        blocks.push_back({BlockKind::page_break, {}, -1});
        blocks.push_back({BlockKind::html, chapter_heading_html(c, number + 1), 2 + number});
        for (QString& piece : report_line_pieces(c)) blocks.push_back({BlockKind::html, std::move(piece), -1});
        blocks.push_back({BlockKind::html, entries_heading_html(c), -1});
        for (const ReportEntry& e : c.entries) blocks.push_back({BlockKind::html, entry_html(e, m.settings, prose), -1});
        ++number;
    }
    if (m.timeline) {
        blocks.push_back({BlockKind::page_break, {}, -1});
        blocks.push_back({BlockKind::html, timeline_heading_html(*m.timeline, number + 1), 2 + number});
        for (QString& piece : timeline_cluster_html(*m.timeline)) blocks.push_back({BlockKind::html, std::move(piece), -1});
        for (QString& piece : timeline_month_html(*m.timeline)) blocks.push_back({BlockKind::html, std::move(piece), -1});
        if (m.ephemeris) {
            blocks.push_back({BlockKind::page_break, {}, -1});
            blocks.push_back({BlockKind::html, ephemeris_heading_html(m), -1});
            blocks.push_back({BlockKind::ephemeris, {}, -1});
        }
    }
    return blocks;
}

std::unique_ptr<QTextDocument> make_document(QPaintDevice* device, const QString& html, double width)
{
    auto doc = std::make_unique<QTextDocument>();
    if (device != nullptr) doc->documentLayout()->setPaintDevice(device);
    QFont font(sans);
    font.setPointSizeF(10);
    doc->setDefaultFont(font);
    doc->setDefaultStyleSheet(QString::fromLatin1(style_sheet));
    doc->setDocumentMargin(0);
    doc->setTextWidth(width);
    doc->setHtml(html);
    return doc;
}

/// Where a part of a block stands: its page (0-based), its top and the slice of the block shown.
struct Placement {
    std::size_t block = 0;
    int page = 0;
    double y = 0;
    double offset = 0;
    double height = 0;
};

struct PageGeometry {
    double dots_per_mm = 0;
    QRectF page;  ///< the whole paintable area
    QRectF text;  ///< where blocks go
};

PageGeometry geometry_of(const QPagedPaintDevice& device)
{
    PageGeometry g;
    g.dots_per_mm = device.logicalDpiX() / 25.4;
    g.page = QRectF(0, 0, device.width(), device.height());
    const double side = mm_margin_side * g.dots_per_mm;
    const double top = (mm_margin_top + mm_header_gap) * g.dots_per_mm;
    const double bottom = mm_margin_bottom * g.dots_per_mm;
    g.text = QRectF(side, top, g.page.width() - 2 * side, g.page.height() - top - bottom);
    return g;
}

struct Layout {
    PageGeometry geometry;
    std::vector<Block> blocks;
    std::vector<std::unique_ptr<QTextDocument>> docs;  ///< per block; null for the others
    std::vector<Placement> placements;
    std::vector<int> contents_pages;  ///< 1-based page of each contents entry
    int contents_page = 0;            ///< 0-based page reserved for the contents list
    int pages = 0;
    double dial_size = 0;
};

Layout lay_out(QPagedPaintDevice& device, const ReportModel& m)
{
    Layout l;
    l.geometry = geometry_of(device);
    const QRectF& text = l.geometry.text;
    l.blocks = report_blocks(m);
    l.docs.resize(l.blocks.size());
    l.dial_size = std::min(text.width() * dial_share, text.height() * 0.5);
    l.contents_pages.assign(2 + m.chapters.size() + (m.timeline ? 1 : 0), 0);

    int page = 0;
    double y = text.top();
    const auto new_page = [&] {
        ++page;
        y = text.top();
    };
    for (std::size_t i = 0; i < l.blocks.size(); ++i) {
        const Block& b = l.blocks[i];
        double height = 0;
        switch (b.kind) {
        case BlockKind::page_break:
            if (y > text.top()) new_page();
            continue;
        case BlockKind::contents:
            if (y > text.top()) new_page();
            l.contents_page = page;
            new_page();
            continue;
        case BlockKind::dial:
            height = l.dial_size;
            break;
        case BlockKind::ephemeris:
            height = std::min(text.width() * ephemeris_aspect, text.height() * 0.8);
            break;
        case BlockKind::html:
            l.docs[i] = make_document(&device, b.html, text.width());
            height = l.docs[i]->size().height();
            break;
        }
        // A block stands on one page; only one taller than a whole page is cut into slices.
        if (y + height > text.bottom() && y > text.top()) new_page();
        if (b.contents_entry >= 0) l.contents_pages[static_cast<std::size_t>(b.contents_entry)] = page + 1;
        double offset = 0;
        while (true) {
            const double slice = std::min(height - offset, text.bottom() - y);
            l.placements.push_back({i, page, y, offset, slice});
            offset += slice;
            y += slice;
            if (offset >= height) break;
            new_page();
        }
        y += mm_block_gap * l.geometry.dots_per_mm;
    }
    l.pages = page + 1;
    return l;
}

QString contents_html(const std::vector<QString>& titles, const std::vector<int>& pages)
{
    QString h = QStringLiteral("<h2>%1</h2><table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">").arg(esc(texts::kReportContents));
    for (std::size_t i = 0; i < titles.size(); ++i)
        h += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>")
                 .arg(markup_text(titles[i]))
                 .arg(i < pages.size() ? pages[i] : 0);
    h += QStringLiteral("</table>");
    return h;
}

/// The contents of the flowing documents (ODT, HTML): the titles alone, for they have no pages
/// of their own to count.
QString contents_list_html(const std::vector<QString>& titles)
{
    QString h = QStringLiteral("<h2>%1</h2>").arg(esc(texts::kReportContents));
    for (const QString& title : titles) h += QStringLiteral("<p>%1</p>").arg(markup_text(title));
    return h;
}

QFont page_font(double points, bool bold = false)
{
    QFont font(sans);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void paint_frame(QPainter& painter, const PageGeometry& g, const ReportModel& m, const QString& settings,
                 int page, int pages)
{
    const double mm = g.dots_per_mm;
    const double left = g.text.left();
    const double width = g.text.width();
    painter.save();
    painter.setPen(QPen(Qt::black, 0.25 * mm));
    // Running header: both names, a rule below.
    painter.setFont(page_font(8.5));
    const QRectF header(left, (mm_margin_top - 8) * mm, width, 6 * mm);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignBottom, header_text(m));
    painter.drawLine(QPointF(left, mm_margin_top * mm), QPointF(left + width, mm_margin_top * mm));
    // Footer: a rule, the settings on the left, "Seite N von M" on the right.
    const double rule = g.page.height() - (mm_margin_bottom - 6) * mm;
    painter.drawLine(QPointF(left, rule), QPointF(left + width, rule));
    painter.setFont(page_font(7));
    const double number_width = 28 * mm;
    painter.drawText(QRectF(left, rule + 1.5 * mm, width - number_width - 3 * mm, 12 * mm),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, settings);
    painter.setFont(page_font(8.5));
    const QString number = q(std::string(texts::kReportPage) + std::to_string(page) +
                             std::string(texts::kReportOf) + std::to_string(pages));
    painter.drawText(QRectF(left + width - number_width, rule + 1.5 * mm, number_width, 6 * mm),
                     Qt::AlignRight | Qt::AlignTop, number);
    painter.restore();
}

QByteArray written(QTextDocument& doc, const QByteArray& format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, format);
    if (!writer.write(&doc)) return {};
    return bytes;
}

/// The whole report as one flowing document, for ODT and HTML.
std::unique_ptr<QTextDocument> flowing_document(const ReportModel& m, const QString& dial_html,
                                                const QString& contents, const QString& ephemeris_html)
{
    const Prose prose = hyphenated_prose(m);
    QString h = title_html(m) + dial_heading_html() + dial_html;
    h += QStringLiteral("<div style=\"page-break-before:always\">%1</div>").arg(contents);
    h += QStringLiteral("<div style=\"page-break-before:always\">%1</div>").arg(positions_html(m, true));
    int number = 0;
    for (const ReportChapter& c : m.chapters) {
        h += QStringLiteral("<div style=\"page-break-before:always\">%1").arg(chapter_heading_html(c, ++number));
        for (const QString& piece : report_line_pieces(c)) h += piece;
        h += entries_heading_html(c);
        for (const ReportEntry& e : c.entries) h += entry_html(e, m.settings, prose);
        h += QStringLiteral("</div>");
    }
    if (m.timeline) {
        h += QStringLiteral("<div style=\"page-break-before:always\">%1").arg(timeline_heading_html(*m.timeline, ++number));
        for (const QString& piece : timeline_cluster_html(*m.timeline)) h += piece;
        for (const QString& piece : timeline_month_html(*m.timeline)) h += piece;
        h += QStringLiteral("</div>");
        if (m.ephemeris)
            h += QStringLiteral("<div style=\"page-break-before:always\">%1%2</div>").arg(ephemeris_heading_html(m), ephemeris_html);
    }
    auto doc = make_document(nullptr, QString(), 600);
    doc->setHtml(QStringLiteral("<html><body>%1</body></html>").arg(h));
    return doc;
}

}  // namespace

std::vector<QString> contents_titles(const ReportModel& m)
{
    std::vector<QString> titles = {q(texts::kReportDial), q(texts::kReportPositions)};
    int number = 0;
    for (const ReportChapter& c : m.chapters) titles.push_back(QString::number(++number) + QStringLiteral(". ") + q(c.title));
    if (m.timeline) titles.push_back(QString::number(++number) + QStringLiteral(". ") + q(m.timeline->title));
    return titles;
}

int paint_report(QPagedPaintDevice& device, const ReportModel& m)
{
    Layout l = lay_out(device, m);
    const QString settings = q(settings_line(m.settings));
    const auto contents = make_document(&device, contents_html(contents_titles(m), l.contents_pages), l.geometry.text.width());
    const DialScene scene = report_scene(m);

    QPainter painter;
    if (!painter.begin(&device)) return 0;
    int page = 0;
    const auto start_page = [&](int wanted) {
        while (page < wanted) {
            device.newPage();
            ++page;
            paint_frame(painter, l.geometry, m, settings, page + 1, l.pages);
            if (page == l.contents_page) {
                painter.save();
                painter.translate(l.geometry.text.topLeft());
                contents->drawContents(&painter);
                painter.restore();
            }
        }
    };
    paint_frame(painter, l.geometry, m, settings, 1, l.pages);
    for (const Placement& p : l.placements) {
        start_page(p.page);
        const Block& b = l.blocks[p.block];
        if (b.kind == BlockKind::dial) {
            const double x = l.geometry.text.left() + (l.geometry.text.width() - l.dial_size) / 2;
            paint_dial(painter, QRectF(x, p.y, l.dial_size, l.dial_size), scene);
            continue;
        }
        if (b.kind == BlockKind::ephemeris) {
            paint_ephemeris(painter, QRectF(l.geometry.text.left(), p.y, l.geometry.text.width(), p.height),
                            *m.ephemeris, q(m.ephemeris_title));
            continue;
        }
        painter.save();
        painter.translate(l.geometry.text.left(), p.y - p.offset);
        l.docs[p.block]->drawContents(&painter, QRectF(0, p.offset, l.geometry.text.width(), p.height));
        painter.restore();
    }
    start_page(l.pages - 1);
    painter.end();
    return l.pages;
}

namespace {

void set_up_writer(QPdfWriter& writer, const ReportModel& m)
{
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(document_title(m));
    writer.setCreator(QStringLiteral("Duoskop ") + q(m.settings.version));
}

}  // namespace

QByteArray report_pdf(const ReportModel& m)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        set_up_writer(writer, m);
        if (paint_report(writer, m) == 0) return {};
    }
    return bytes;
}

QByteArray report_odt(const ReportModel& m)
{
    const DialScene scene = report_scene(m);
    const int size = 900;
    const QString dial = QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"400\" height=\"400\" /></p>").arg(dial_resource);
    const int ephemeris_width = 1600;
    const int ephemeris_height = static_cast<int>(ephemeris_width * ephemeris_aspect);
    const QString ephemeris = QStringLiteral("<p align=\"center\"><img src=\"%1\" width=\"600\" height=\"%2\" /></p>")
                                  .arg(ephemeris_resource)
                                  .arg(static_cast<int>(600 * ephemeris_aspect));
    auto full = flowing_document(m, dial, contents_list_html(contents_titles(m)), ephemeris);
    full->addResource(QTextDocument::ImageResource, QUrl(dial_resource), dial_image(scene, size));
    if (m.ephemeris)
        full->addResource(QTextDocument::ImageResource, QUrl(ephemeris_resource),
                          ephemeris_image(*m.ephemeris, q(m.ephemeris_title), ephemeris_width, ephemeris_height));
    return written(*full, "odf");
}

QByteArray report_html(const ReportModel& m)
{
    const DialScene scene = report_scene(m);
    const auto doc = flowing_document(m, QStringLiteral("<p><img src=\"%1\" /></p>").arg(dial_placeholder),
                                      contents_list_html(contents_titles(m)),
                                      QStringLiteral("<p><img src=\"%1\" /></p>").arg(ephemeris_placeholder));
    // The title, set after the HTML (which sets it anew), is written as it is given: a stand-in
    // goes in, the escaped title takes its place.
    const QString title_stand_in = QStringLiteral("duoskop-titel-7f3a9c");
    doc->setMetaInformation(QTextDocument::DocumentTitle, title_stand_in);
    QString html = QString::fromUtf8(written(*doc, "html"));
    if (html.isEmpty()) return {};
    html.replace(QStringLiteral("<title>") + title_stand_in + QStringLiteral("</title>"),
                 QStringLiteral("<title>") + markup_text(document_title(m)) + QStringLiteral("</title>"));
    // A German document: screen readers and hyphenation in the browser go by its language.
    if (const qsizetype at = html.indexOf(QStringLiteral("<html>")); at >= 0)
        html.replace(at, 6, QStringLiteral("<html lang=\"de\">"));
    // The dial as inline SVG in place of its picture's paragraph; the SVG's XML prologue goes.
    QString svg = QString::fromUtf8(dial_svg(scene, 560, header_text(m)));
    svg = svg.mid(std::max<qsizetype>(0, svg.indexOf(QStringLiteral("<svg"))));
    static const QRegularExpression placeholder(QStringLiteral("<p[^>]*>\\s*<img src=\"") + dial_placeholder +
                                                QStringLiteral("\"[^>]*>\\s*</p>"));
    html.replace(placeholder, QStringLiteral("<div style=\"text-align:center\">") + svg + QStringLiteral("</div>"));
    if (m.ephemeris) {
        const int width = 900;
        QString picture = QString::fromUtf8(ephemeris_svg(*m.ephemeris, q(m.ephemeris_title), width,
                                                          static_cast<int>(width * ephemeris_aspect)));
        picture = picture.mid(std::max<qsizetype>(0, picture.indexOf(QStringLiteral("<svg"))));
        static const QRegularExpression ephemeris_place(QStringLiteral("<p[^>]*>\\s*<img src=\"") + ephemeris_placeholder +
                                                        QStringLiteral("\"[^>]*>\\s*</p>"));
        html.replace(ephemeris_place, QStringLiteral("<div>") + picture + QStringLiteral("</div>"));
    }
    return html.toUtf8();
}

}  // namespace duoskop
