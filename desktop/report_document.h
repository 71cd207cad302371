// SPDX-License-Identifier: GPL-3.0-or-later
// The client's report as a document: PDF (pages painted with QPainter: running header, footer
// "Seite N von M" with the run's settings, the dial as vector graphics, entries never split
// across pages), ODT and HTML (one QTextDocument written by QTextDocumentWriter; the HTML with
// the dial as inline SVG). Needs Qt Gui only, so the command line can write it without a display.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QPagedPaintDevice;

namespace duoskop {

struct ReportModel;

/// Lays the report out on `device` (a PDF writer or a printer, A4 portrait expected) and paints
/// every page. Returns the number of pages.
int paint_report(QPagedPaintDevice& device, const ReportModel& model);

/// The report as a PDF file (A4, fonts embedded, no raster image).
QByteArray report_pdf(const ReportModel& model);
/// The report as an OpenDocument text (the dial as an embedded picture; the contents list the
/// chapters without page numbers, for Qt's ODT writer has no field that would count them).
QByteArray report_odt(const ReportModel& model);
/// The report as one UTF-8 HTML file (lang="de", a <title>) with the dial as inline SVG.
QByteArray report_html(const ReportModel& model);

/// The titles of the contents list: the dial, the positions, then each chapter.
std::vector<QString> contents_titles(const ReportModel& model);

}  // namespace duoskop
