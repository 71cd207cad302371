// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/ephemeris_window.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "base/cp1252.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/desktop_texts.h"
#include "desktop/dial_accessible.h"
#include "desktop/dial_painter.h"
#include "desktop/dial_window.h"
#include "desktop/ephemeris_painter.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/timeline_window.h"
#include "desktop/unit1.h"
#include "desktop/window_habits.h"
#include "dialview/midpoints.h"
#include "ephemeris/ephemeris_texts.h"
#include "precise/precise_positions.h"
#include "timeline/timeline_texts.h"

namespace duoskop {

namespace {

/// A click this close to a drawn hit (in pixels) is a click on it.
constexpr double hit_click_pixels = 12;
/// The pictures saved: PNG and SVG at this size.
constexpr int saved_width = 1600;
constexpr int saved_height = 960;

QString date_field_text(double instant)
{
    const std::optional<CivilTime> d = from_julian_day(instant);
    if (!d) return {};
    return QStringLiteral("%1.%2.%3")
        .arg(d->day, 2, 10, QLatin1Char('0'))
        .arg(d->month, 2, 10, QLatin1Char('0'))
        .arg(d->year, 4, 10, QLatin1Char('0'));
}

std::optional<CivilTime> field_date(const QLineEdit* field) { return parse_date(field->text().trimmed().toStdString()); }

}  // namespace

EphemerisCanvas::EphemerisCanvas(QWidget* parent) : QWidget(parent)
{
    install_dial_accessible();  // its lines, curves and hits read as the dial's factors
    setMinimumSize(480, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
}

QPointF EphemerisCanvas::point_of(double t, double y) const
{
    if (!ephemeris) return {};
    return ephemeris_frame(QRectF(rect()), *ephemeris).point(t, y);
}

void EphemerisCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Light or dark with the palette, as the dial; saved and printed pictures stay light.
    const PictureColours colours = colours_for(palette());
    painter.fillRect(rect(), colours.background);
    if (ephemeris) paint_ephemeris(painter, QRectF(rect()), *ephemeris, title, selected, colours);
}

void EphemerisCanvas::mousePressEvent(QMouseEvent* event)
{
    if (!ephemeris || !clicked || event->button() != Qt::LeftButton) return;
    const EphemerisFrame frame = ephemeris_frame(QRectF(rect()), *ephemeris);
    if (!frame.plot.contains(event->position())) return;
    const auto [t, y] = frame.at(event->position());
    clicked(t, y);
}

EphemerisWindow::EphemerisWindow(TForm1& form, Desktop& desktop, DriveC drive)
    : QDialog(&form), form_(form), desktop_(desktop), drive_(std::move(drive)), run_(this)
{
    setObjectName(QStringLiteral("EphemerisWindow"));
    setWindowTitle(to_qt(texts::kEphemerisCaption));
    // A window of its own beside the main window, the dial and the Auslösungen, which it links to.
    setWindowModality(Qt::NonModal);
    resize(1000, 680);

    FromEdit = new QLineEdit(this);
    FromEdit->setObjectName(QStringLiteral("FromEdit"));
    FromEdit->setAccessibleName(to_qt(texts::kA11yEphemerisFrom));
    ToEdit = new QLineEdit(this);
    ToEdit->setObjectName(QStringLiteral("ToEdit"));
    ToEdit->setAccessibleName(to_qt(texts::kA11yEphemerisTo));
    const QDate today = QDate::currentDate();
    const EphemerisRange range =
        default_ephemeris_range(julian_day(CivilTime{today.year(), today.month(), today.day(), 12, 0, 0}));
    FromEdit->setText(date_field_text(range.from));
    ToEdit->setText(date_field_text(range.to - 1));
    for (QLineEdit* field : {FromEdit, ToEdit}) {
        field->setMaxLength(10);
        field->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    }
    ModulusChoice = new QComboBox(this);
    ModulusChoice->setObjectName(QStringLiteral("ModulusChoice"));
    ModulusChoice->setAccessibleName(to_qt(texts::kA11yEphemerisModulus));
    for (const double m : ephemeris_moduli)
        ModulusChoice->addItem(to_qt(modulus_text(m) + std::string(texts::kEphemerisDegree)), m);
    StartButton = new QPushButton(to_qt(texts::kEphemerisStart), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setAccessibleName(to_qt(texts::kA11yEphemerisProgress));
    Progress->setRange(0, 1000);
    CancelButton = new QPushButton(to_qt(texts::kEphemerisCancel), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    Status = plain_label(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setAccessibleName(to_qt(texts::kA11yEphemerisStatus));
    canvas_ = new EphemerisCanvas(this);
    canvas_->setObjectName(QStringLiteral("Picture"));
    canvas_->setAccessibleName(to_qt(texts::kA11yEphemerisPicture));
    canvas_->setAccessibleDescription(to_qt(texts::kA11yEphemerisPictureInfo));
    canvas_->clicked = [this](double t, double y) { picture_clicked(t, y); };
    PngButton = new QPushButton(to_qt(texts::kEphemerisPng), this);
    PngButton->setObjectName(QStringLiteral("PngButton"));
    SvgButton = new QPushButton(to_qt(texts::kEphemerisSvg), this);
    SvgButton->setObjectName(QStringLiteral("SvgButton"));
    PdfButton = new QPushButton(to_qt(texts::kEphemerisPdf), this);
    PdfButton->setObjectName(QStringLiteral("PdfButton"));
    PrintButton = new QPushButton(to_qt(texts::kEphemerisPrint), this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));

    auto* top = new QHBoxLayout;
    auto* from_label = plain_label(to_qt(texts::kEphemerisFrom), this);
    from_label->setBuddy(FromEdit);
    auto* to_label = plain_label(to_qt(texts::kEphemerisTo), this);
    to_label->setBuddy(ToEdit);
    auto* modulus_label = plain_label(to_qt(texts::kEphemerisModulus), this);
    modulus_label->setBuddy(ModulusChoice);
    top->addWidget(from_label);
    top->addWidget(FromEdit);
    top->addSpacing(12);
    top->addWidget(to_label);
    top->addWidget(ToEdit);
    top->addSpacing(12);
    top->addWidget(modulus_label);
    top->addWidget(ModulusChoice);
    top->addSpacing(12);
    top->addWidget(StartButton);
    top->addWidget(Progress, 1);
    top->addWidget(CancelButton);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Status, 1);
    for (QPushButton* b : {PngButton, SvgButton, PdfButton, PrintButton}) bottom->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(canvas_, 1);
    layout->addLayout(bottom);
    // Tab goes through the fields, the choice and the buttons in reading order, then the picture.
    QWidget::setTabOrder(FromEdit, ToEdit);
    QWidget::setTabOrder(ToEdit, ModulusChoice);
    QWidget::setTabOrder(ModulusChoice, StartButton);
    QWidget::setTabOrder(StartButton, CancelButton);
    QWidget::setTabOrder(CancelButton, canvas_);
    QWidget::setTabOrder(canvas_, PngButton);
    QWidget::setTabOrder(PngButton, SvgButton);
    QWidget::setTabOrder(SvgButton, PdfButton);
    QWidget::setTabOrder(PdfButton, PrintButton);
    set_running(false);
    close_on_escape(*this);

    connect(StartButton, &QPushButton::clicked, this, [this] { StartClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(PngButton, &QPushButton::clicked, this, [this] { save_clicked("png"); });
    connect(SvgButton, &QPushButton::clicked, this, [this] { save_clicked("svg"); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { save_clicked("pdf"); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { print_clicked(); });

    Ephemeride1 = form_.Extras1->addAction(to_qt(texts::kMenuEphemeris));
    Ephemeride1->setObjectName(QStringLiteral("Ephemeride1"));
    connect(Ephemeride1, &QAction::triggered, this, [this] { EphemerisClick(); });
    form_.state_listeners.push_back([this] { Ephemeride1->setEnabled(usable()); });
    Ephemeride1->setEnabled(usable());
}

bool EphemerisWindow::usable() const
{
    return !form_.ended() && form_.person1_loaded() && form_.person2_loaded() && !form_.waiting_for_halfsum_orb();
}

void EphemerisWindow::EphemerisClick()
{
    if (!usable()) return;
    show();
    raise();
    activateWindow();
    // A pair not drawn yet is drawn at once for the range of the fields.
    const ChartState& now = form_.chart;
    const bool same_pair = canvas_->ephemeris && now.person1 == run_chart_.person1 &&
                           now.person2 == run_chart_.person2 && now.pos1 == run_chart_.pos1 && now.pos2 == run_chart_.pos2;
    if (!same_pair && !running()) StartClick();
}

std::optional<TimelineRequest> EphemerisWindow::read_request()
{
    const std::optional<CivilTime> from = field_date(FromEdit), to = field_date(ToEdit);
    if (!from || !to) {
        desktop_.message(BoxType::warning, texts::kTimelineBadDate, Buttons::ok);
        (from ? ToEdit : FromEdit)->setFocus();
        return std::nullopt;
    }
    TimelineRequest request = ephemeris_request(julian_day(*from), julian_day(*to) + 1);
    if (request.to - 1 < request.from) {
        desktop_.message(BoxType::warning, texts::kTimelineReversed, Buttons::ok);
        ToEdit->setFocus();
        return std::nullopt;
    }
    if (from->year < precise_first_year || to->year > precise_last_year) {
        desktop_.message(BoxType::warning,
                         std::string(texts::kTimelineYears1) + std::to_string(precise_first_year) +
                             std::string(texts::kTimelineYears2) + std::to_string(precise_last_year) +
                             std::string(texts::kTimelineYears3) + std::string(texts::kTimelineYearsPrecise) + ".",
                         Buttons::ok);
        FromEdit->setFocus();
        return std::nullopt;
    }
    request.natal_source = form_.position_source();
    // The comparisons' points with the main window's orbs once they are entered.
    if (form_.Solar1->isEnabled()) request.orbs = form_.orbs;
    return request;
}

void EphemerisWindow::StartClick()
{
    if (running() || !usable()) return;
    std::optional<TimelineRequest> request = read_request();
    if (!request) return;
    const double modulus = ModulusChoice->currentData().toDouble();
    run_chart_ = form_.chart;
    Progress->setValue(0);
    Status->setText(to_qt(texts::kEphemerisRunning));
    set_running(true);
    run_.start(
        [chart = run_chart_, request = std::move(*request), modulus](std::stop_token stop,
                                                                     std::function<void(double)> progress) {
            TimelineRequest r = request;
            r.stop = stop;
            r.progress = std::move(progress);
            return compute_ephemeris(chart, r, modulus);
        },
        [this](double share) { Progress->setValue(std::max(static_cast<int>(share * 1000), Progress->value())); },
        [this](Ephemeris ephemeris) { finished(std::move(ephemeris)); });
}

void EphemerisWindow::CancelClick()
{
    if (running()) run_.stop();
}

void EphemerisWindow::finished(Ephemeris ephemeris)
{
    set_running(false);
    if (ephemeris.cancelled) {
        Status->setText(to_qt(texts::kEphemerisCancelled));
        return;
    }
    canvas_->title = to_qt(ephemeris_title(run_chart_, ephemeris.from, ephemeris.to, ephemeris.modulus));
    Status->setText(QString::number(ephemeris.hits.size()) + to_qt(texts::kEphemerisHitsOf) +
                    QString::number(ephemeris.timeline.hits.size()) + to_qt(texts::kEphemerisHitsAfter));
    canvas_->ephemeris = std::make_shared<const Ephemeris>(std::move(ephemeris));
    canvas_->selected.reset();
    canvas_->update();
}

void EphemerisWindow::picture_clicked(double t, double y)
{
    const Ephemeris* e = ephemeris();
    if (e == nullptr) return;
    // A click on a drawn hit chooses it; elsewhere the nearest hit in time is looked for.
    std::optional<PairPoint> target;
    canvas_->selected.reset();
    if (const std::optional<std::size_t> near = nearest_drawn_hit(*e, t, y)) {
        const EphemerisHit& hit = e->hits[*near];
        const QPointF clicked = canvas_->point_of(t, y), drawn = canvas_->point_of(hit.t, hit.y);
        if (std::hypot(clicked.x() - drawn.x(), clicked.y() - drawn.y()) <= hit_click_pixels) {
            canvas_->selected = near;
            target = e->timeline.targets[e->timeline.hits[hit.hit].target].point;
            t = hit.t;
            y = hit.y;
        }
    }
    canvas_->update();
    // The hits' window first: choosing its row turns the dial to that row's target, and the
    // click's own position is to have the last word.
    TimelineWindow* hits = form_.timeline_window;
    if (hits != nullptr && hits->isVisible()) hits->select_nearest_hit(t, target);
    if (DialWindow* dial = dial_window_of(form_); dial != nullptr) {
        dial->set_pointer(dial_position(y, dial->modulus()));
        dial->set_instant(t);
    }
}

void EphemerisWindow::reject()
{
    CancelClick();
    QDialog::reject();
}

void EphemerisWindow::set_running(bool running)
{
    Progress->setVisible(running);
    CancelButton->setVisible(running);
    for (QWidget* w : std::initializer_list<QWidget*>{StartButton, FromEdit, ToEdit, ModulusChoice, PngButton,
                                                      SvgButton, PdfButton, PrintButton})
        w->setEnabled(!running);
}

bool EphemerisWindow::write(const std::string& path, const QByteArray& bytes)
{
    const std::string error = save_picture(path, bytes);
    if (!error.empty()) {
        desktop_.message(BoxType::error, cp1252_of_file_name(path) + "\r" + error, Buttons::ok);
        return false;
    }
    Status->setText(to_qt(texts::kEphemerisSaved) + QString::fromStdString(valid_utf8(path)));
    return true;
}

bool EphemerisWindow::save_png(const std::string& path)
{
    if (!ephemeris()) return false;
    return write(path, ephemeris_png(*ephemeris(), canvas_->title, saved_width, saved_height));
}

bool EphemerisWindow::save_svg(const std::string& path)
{
    if (!ephemeris()) return false;
    return write(path, ephemeris_svg(*ephemeris(), canvas_->title, saved_width, saved_height));
}

bool EphemerisWindow::save_pdf(const std::string& path)
{
    if (!ephemeris()) return false;
    return write(path, ephemeris_pdf(*ephemeris(), canvas_->title));
}

void EphemerisWindow::save_clicked(const char* suffix)
{
    if (!ephemeris()) {
        desktop_.message(BoxType::information, texts::kEphemerisNothing, Buttons::ok);
        return;
    }
    const std::string kind(suffix);
    const std::string suggested = cp1252_to_utf8(std::string(texts::kEphemerisCaption) + " " +
                                                 run_chart_.person1.name + " " + run_chart_.person2.name) + "." + kind;
    std::string upper = kind;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    const std::optional<std::string> path =
        desktop_.save_file_as(drive_.resolve("c:\\").string(), suggested, upper + " (*." + kind + ")");
    if (!path) return;
    if (kind == "png") save_png(*path);
    else if (kind == "svg") save_svg(*path);
    else save_pdf(*path);
}

void EphemerisWindow::print_to(QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        desktop_.message(BoxType::error, texts::kEphemerisPrintFailed, Buttons::ok);
        return;
    }
    paint_ephemeris(painter, QRectF(0, 0, device.width(), device.height()), *ephemeris(), canvas_->title);
    painter.end();
}

void EphemerisWindow::print_clicked()
{
    if (!ephemeris()) {
        desktop_.message(BoxType::information, texts::kEphemerisNothing, Buttons::ok);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(canvas_->title);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) printer.setOutputFormat(QPrinter::NativeFormat);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    print_to(printer);
}

}  // namespace duoskop
