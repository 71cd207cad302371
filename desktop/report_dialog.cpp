// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report_dialog.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/orb.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/texts.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/report_document.h"
#include "desktop/window_habits.h"
#include "report/report_texts.h"

namespace duoskop {

namespace {

constexpr std::array<std::string_view, 5> comparison_titles = {
    texts::kTitleSolar, texts::kTitleDoubles, texts::kTitleSimples, texts::kTitleHalfsums,
    texts::kTitleMcAsList};
static_assert(comparison_titles.size() == all_comparisons.size());

/// Windows-1252 text of a field; characters outside it become '?'.
std::string field_text(const QString& text) { return cp1252_of_file_name(text.toStdString()); }

void show_preview(QWidget* parent, const ReportModel& model)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
    printer.setDocName(to_qt(model.person1.record.name + " " + model.person2.record.name));
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&model](QPrinter* p) { paint_report(*p, model); });
    dialog.exec();
}

}  // namespace

TBericht::TBericht(Desktop& desktop, ReportInputs inputs, QWidget* parent)
    : QDialog(parent), desktop_(desktop), inputs_(std::move(inputs))
{
    setObjectName(QStringLiteral("Bericht"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(texts::kCaptionBericht));
    auto* layout = new QVBoxLayout(this);

    auto* comparisons = new QGroupBox(to_qt(texts::kBerichtComparisons), this);
    auto* column = new QVBoxLayout(comparisons);
    for (std::size_t i = 0; i < Vergleich.size(); ++i) {
        Vergleich[i] = new QCheckBox(to_qt(comparison_titles[i]), comparisons);
        Vergleich[i]->setObjectName(QStringLiteral("Vergleich_") +
                                    QString::fromLatin1(comparison_name(all_comparisons[i])));
        Vergleich[i]->setChecked(true);
        column->addWidget(Vergleich[i]);
        if (all_comparisons[i] == Comparison::halfsums) {
            HalfsumOrb = new QLineEdit(comparisons);
            HalfsumOrb->setObjectName(QStringLiteral("HalfsumOrb"));
            HalfsumOrb->setMaximumWidth(60);
            HalfsumOrb->setAccessibleName(to_qt(texts::kA11yHalfsumOrb));
            if (inputs_.orbs.orb_halfsum > 0) HalfsumOrb->setText(to_qt(orb_text(inputs_.orbs.orb_halfsum)));
            auto* row = new QHBoxLayout;
            row->addSpacing(24);
            row->addWidget(new QLabel(to_qt(texts::kBerichtHalfsumOrbLabel), comparisons));
            row->addWidget(HalfsumOrb);
            row->addStretch();
            column->addLayout(row);
        }
    }
    layout->addWidget(comparisons);

    // The chapter of hits in time: off at first, this year and the next as the range.
    Timeline = new QCheckBox(to_qt(texts::kBerichtTimeline), this);
    Timeline->setObjectName(QStringLiteral("Timeline"));
    TimelineFrom = new QLineEdit(this);
    TimelineFrom->setObjectName(QStringLiteral("TimelineFrom"));
    TimelineTo = new QLineEdit(this);
    TimelineTo->setObjectName(QStringLiteral("TimelineTo"));
    TimelineFrom->setAccessibleName(to_qt(texts::kA11yTimelineFrom));
    TimelineTo->setAccessibleName(to_qt(texts::kA11yTimelineTo));
    const int year = QDate::currentDate().year();
    TimelineFrom->setText(QStringLiteral("01.01.%1").arg(year));
    TimelineTo->setText(QStringLiteral("31.12.%1").arg(year + 1));
    for (QLineEdit* field : {TimelineFrom, TimelineTo}) {
        field->setMaxLength(10);
        field->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    }
    auto* timeline = new QHBoxLayout;
    timeline->addWidget(Timeline);
    timeline->addWidget(TimelineFrom);
    timeline->addWidget(new QLabel(to_qt(texts::kBerichtTimelineTo), this));
    timeline->addWidget(TimelineTo);
    // The graphic ephemeris shows the chapter's range: it is a choice only with the chapter.
    Ephemeris = new QCheckBox(to_qt(texts::kBerichtEphemeris), this);
    Ephemeris->setObjectName(QStringLiteral("Ephemeris"));
    Ephemeris->setEnabled(false);
    connect(Timeline, &QCheckBox::toggled, Ephemeris, &QWidget::setEnabled);
    timeline->addWidget(Ephemeris);
    timeline->addStretch();
    layout->addLayout(timeline);

    auto* form = new QFormLayout;
    Title = new QLineEdit(this);
    Title->setObjectName(QStringLiteral("Title"));
    Title->setPlaceholderText(to_qt(texts::kReportDefaultTitle));
    Astrologer = new QPlainTextEdit(this);
    Astrologer->setObjectName(QStringLiteral("Astrologer"));
    Astrologer->setTabChangesFocus(true);
    Astrologer->setFixedHeight(80);
    form->addRow(to_qt(texts::kBerichtTitle), Title);
    form->addRow(to_qt(texts::kBerichtAstrologer), Astrologer);
    layout->addLayout(form);

    auto* formats = new QGroupBox(to_qt(texts::kBerichtFormats), this);
    auto* row = new QHBoxLayout(formats);
    Pdf = new QCheckBox(QStringLiteral("PDF"), formats);
    Odt = new QCheckBox(QStringLiteral("ODT"), formats);
    Html = new QCheckBox(QStringLiteral("HTML"), formats);
    Pdf->setObjectName(QStringLiteral("Pdf"));
    Odt->setObjectName(QStringLiteral("Odt"));
    Html->setObjectName(QStringLiteral("Html"));
    Pdf->setChecked(true);
    for (QCheckBox* box : {Pdf, Odt, Html}) row->addWidget(box);
    layout->addWidget(formats);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    Save = buttons->addButton(to_qt(texts::kBerichtSave), QDialogButtonBox::ActionRole);
    Preview = buttons->addButton(to_qt(texts::kBerichtPreview), QDialogButtonBox::ActionRole);
    Save->setObjectName(QStringLiteral("Save"));
    Preview->setObjectName(QStringLiteral("Preview"));
    connect(Save, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(Preview, &QPushButton::clicked, this, [this] { PreviewClick(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    preview = [this](const ReportModel& model) { show_preview(this, model); };
}

std::optional<ReportModel> TBericht::chosen_report()
{
    ReportRequest request;
    for (std::size_t i = 0; i < Vergleich.size(); ++i)
        if (Vergleich[i]->isChecked()) request.comparisons.push_back(all_comparisons[i]);
    if (request.comparisons.empty()) {
        desktop_.message(BoxType::warning, texts::kBerichtNoComparison, Buttons::ok);
        return std::nullopt;
    }
    request.orbs = inputs_.orbs;
    if (Vergleich[3]->isChecked()) {
        const OrbReading orb = read_orb(HalfsumOrb->text().toStdString());
        if (!orb.ok || !(orb.value > 0)) {
            desktop_.message(BoxType::warning, texts::kBerichtHalfsumOrb, Buttons::ok);
            HalfsumOrb->setFocus();
            return std::nullopt;
        }
        request.orbs.orb_halfsum = orb.value;
    }
    request.source = inputs_.source;
    request.time_window = inputs_.time_window;
    // The probe computes the shifted charts as the loaded ones were computed, the precise
    // theories on one thread.
    request.probe.source = inputs_.source;
    request.title = field_text(Title->text().trimmed());
    for (const QString& line : Astrologer->toPlainText().split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) request.astrologer.push_back(field_text(line.trimmed()));
    request.version = DUOSKOP_VERSION;
    if (Timeline->isChecked()) {
        const auto from = parse_date(TimelineFrom->text().trimmed().toStdString());
        const auto to = parse_date(TimelineTo->text().trimmed().toStdString());
        if (!from || !to || julian_day(*to) < julian_day(*from)) {
            desktop_.message(BoxType::warning, texts::kBerichtTimelineRange, Buttons::ok);
            (from ? TimelineTo : TimelineFrom)->setFocus();
            return std::nullopt;
        }
        request.timeline = ReportRange{julian_day(*from), julian_day(*to) + 1};
        request.ephemeris = Ephemeris->isChecked();
    }
    return build_report(*inputs_.chart, request, *inputs_.ktexte, inputs_.drive);
}

void TBericht::SaveClick()
{
    if (!Pdf->isChecked() && !Odt->isChecked() && !Html->isChecked()) {
        desktop_.message(BoxType::warning, texts::kBerichtNoFormat, Buttons::ok);
        return;
    }
    const std::optional<ReportModel> model = chosen_report();
    if (!model) return;
    const std::string suggested = "Bericht " + cp1252_to_utf8(model->person1.record.name) + " " +
                                  cp1252_to_utf8(model->person2.record.name) + ".pdf";
    const auto path = desktop_.save_file_as(inputs_.drive.resolve("c:\\").string(), suggested,
                                            "Bericht (*.pdf *.odt *.html)");
    if (!path) return;
    std::filesystem::path stem(*path);
    const std::string extension = stem.extension().string();
    if (extension == ".pdf" || extension == ".odt" || extension == ".html") stem.replace_extension();

    struct Output {
        std::filesystem::path path;
        QByteArray bytes;
    };
    std::vector<Output> outputs;
    if (Pdf->isChecked()) outputs.push_back({stem.string() + ".pdf", report_pdf(*model)});
    if (Odt->isChecked()) outputs.push_back({stem.string() + ".odt", report_odt(*model)});
    if (Html->isChecked()) outputs.push_back({stem.string() + ".html", report_html(*model)});
    for (const Output& out : outputs)
        if (out.bytes.isEmpty()) {
            desktop_.message(BoxType::error, texts::kBerichtNotMade, Buttons::ok);
            return;
        }
    // What the writer would refuse (a write-protected file, a missing folder) is found before any
    // file is replaced, so that no format is written when another cannot be.
    for (const Output& out : outputs)
        if (const WriteResult can = check_writable(out.path); !can.ok()) {
            desktop_.message(BoxType::error, cp1252_of_file_name(out.path.string()) + "\r" + can.message(), Buttons::ok);
            return;
        }
    // All or nothing: a file that fails takes back the new files written before it.
    std::vector<std::filesystem::path> created;
    std::string written;
    for (const Output& out : outputs) {
        std::error_code ec;
        const bool existed = std::filesystem::exists(out.path, ec);
        const WriteResult w = write_file_whole(
            out.path, std::string_view(out.bytes.constData(), static_cast<std::size_t>(out.bytes.size())));
        if (!w.ok()) {
            for (const auto& p : created) std::filesystem::remove(p, ec);
            desktop_.message(BoxType::error, cp1252_of_file_name(out.path.string()) + "\r" + w.message(), Buttons::ok);
            return;
        }
        if (!existed) created.push_back(out.path);
        written += "\r" + cp1252_of_file_name(out.path.string());
    }
    desktop_.message(BoxType::information, std::string(texts::kBerichtSaved) + written, Buttons::ok);
}

void TBericht::PreviewClick()
{
    const std::optional<ReportModel> model = chosen_report();
    if (model && preview) preview(*model);
}

}  // namespace duoskop
