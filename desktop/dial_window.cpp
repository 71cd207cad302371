// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dial_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QLineEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "astro/un_math.h"
#include "app/chart_file.h"
#include "app/dial.h"
#include "base/texts.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/window_habits.h"
#include "desktop/qt_style.h"
#include "desktop/unit1.h"
#include "desktop/unit2.h"
#include "kartei/kartei_texts.h"
#include "dialview/spoken.h"
#include "kartei/listing.h"
#include "timeline/ring.h"
#include "timeline/timeline_export.h"

namespace duoskop {

namespace {

constexpr double key_step = 0.01;
constexpr double key_step_shift = 0.25;
constexpr double wheel_step = 0.1;
constexpr double wheel_step_shift = 1.0;

// Positions of a person that is not loaded: no body has a place on the dial.
Positions no_positions()
{
    Positions pos;
    pos.fill(std::numeric_limits<double>::quiet_NaN());
    return pos;
}

QString legend(std::string_view side, const chart_record& person)
{
    return to_qt(std::string(side) + person.first_name + " " + person.name);
}

// "Person 1: Hans Meier, geb. 01.05.1960, 06:30:45 WZ, Hamburg, 10°00' O, 53°33' N": the birth
// data as the main window shows them, the coordinates as the chart index writes them.
std::string person_header(std::string_view start, const chart_record& p)
{
    const BirthData birth = werte_aktual(p);
    std::string header = std::string(start) + p.first_name + " " + p.name + std::string(texts::kDialBorn) + p.date +
                         ", " + p.time + std::string(texts::kDialTimeSuffix);
    if (!p.extra.empty()) header += p.extra + ", ";
    return header + coordinate_text(birth.geo_longitude, texts::kEast, texts::kWest) + ", " +
           coordinate_text(birth.geo_latitude, texts::kNorth, texts::kSouth);
}

/// Where the dial was printed to a file last time (kept from one run to the next).
QString print_folder_setting() { return QStringLiteral("Scheibe/Druckordner"); }

// Saved and printed pictures keep the light colours, whatever the window shows: they end on paper
// and in documents.
DialScene on_paper(DialScene scene)
{
    scene.colours = light_colours();
    return scene;
}

// Lives as a child of the main window and takes the dial window (a window of its own, so that the
// result window, modal to the main window, does not block it) with it when the main window goes.
class DialHolder : public QObject {
public:
    explicit DialHolder(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("DialHolder")); }
    std::unique_ptr<DialWindow> window;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// DialCanvas

DialCanvas::DialCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DialCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 320);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the painting fills the background itself
    scene.colours = colours_for(palette());
}

double DialCanvas::position_at(QPointF point) const
{
    const QPointF centre = QRectF(rect()).center();
    return dial_position_at(point.x() - centre.x(), point.y() - centre.y(), scene.modulus);
}

void DialCanvas::paintEvent(QPaintEvent*)
{
    // Painted as vectors on the widget: sharp at any size and device pixel ratio.
    QPainter painter(this);
    painter.fillRect(rect(), scene.colours.background);
    paint_dial(painter, dial_area(), scene);
}

QRectF DialCanvas::dial_area() const { return QRectF(rect()).adjusted(4, 4, -4, -4); }

void DialCanvas::changeEvent(QEvent* event)
{
    // Light or dark with the palette: the desktop's colours or the appearance chosen.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        scene.colours = colours_for(palette());
        update();
    }
    QWidget::changeEvent(event);
}

void DialCanvas::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) move_pointer(position_at(event->position()));
}

void DialCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) move_pointer(position_at(event->position()));
}

void DialCanvas::keyPressEvent(QKeyEvent* event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? key_step_shift : key_step;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        move_pointer(scene.pointer.value_or(0) + step);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        move_pointer(scene.pointer.value_or(0) - step);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void DialCanvas::wheelEvent(QWheelEvent* event)
{
    // Some platforms turn a wheel with Shift into a horizontal one.
    const QPoint delta = event->angleDelta();
    wheel_rest_ += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = wheel_rest_ / 120;
    wheel_rest_ %= 120;
    if (notches != 0) {
        const double step = event->modifiers() & Qt::ShiftModifier ? wheel_step_shift : wheel_step;
        move_pointer(scene.pointer.value_or(0) + notches * step);
    }
    event->accept();
}

void DialCanvas::move_pointer(double position)
{
    // Whole hundredths of a degree stay whole: no drift from adding steps.
    const double rounded = std::round(position * 1e6) / 1e6;
    if (pointer_moved) pointer_moved(normalize_dial(rounded, scene.modulus));
}

// ---------------------------------------------------------------------------------------------
// DialWindow

DialWindow::DialWindow(Desktop& desktop, const ChartState& chart, const Orbs& orbs)
    : QWidget(nullptr), desktop_(desktop), chart_(chart), orbs_(orbs), movers_(ring_request())
{
    setObjectName(QStringLiteral("DialWindow"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(texts::kDialCaption));
    resize(1040, 740);

    canvas_ = new DialCanvas(this);
    canvas_->scene.pos1 = no_positions();
    canvas_->scene.pointer = 0.0;
    canvas_->pointer_moved = [this](double position) { set_pointer(position); };
    canvas_->reading.step = key_step;
    install_dial_accessible();

    // The dial's size: 22.5 degrees, the comparisons' dial, unless chosen otherwise.
    ModulusChoice = new QComboBox(this);
    ModulusChoice->setObjectName(QStringLiteral("ModulusChoice"));
    for (const double m : dial_moduli)
        ModulusChoice->addItem(to_qt(modulus_text(m) + "\xB0"), m);
    ModulusChoice->setCurrentIndex(ModulusChoice->findData(dial_span));
    ModulusChoice->setFocusPolicy(Qt::TabFocus);
    auto* modulus_label = plain_label(to_qt(texts::kDialModulusLabel), this);
    modulus_label->setBuddy(ModulusChoice);
    connect(ModulusChoice, &QComboBox::currentIndexChanged, this,
            [this](int index) { set_modulus(ModulusChoice->itemData(index).toDouble()); });

    // The third ring: off until switched on or given an instant; today at 12:00 UT to start from.
    ShowMovers = new QCheckBox(to_qt(texts::kDialShowMovers), this);
    ShowMovers->setObjectName(QStringLiteral("ShowMovers"));
    DateEdit = new QLineEdit(QDateTime::currentDateTimeUtc().date().toString(QStringLiteral("dd.MM.yyyy")), this);
    DateEdit->setObjectName(QStringLiteral("DateEdit"));
    TimeEdit = new QLineEdit(QStringLiteral("12:00"), this);
    TimeEdit->setObjectName(QStringLiteral("TimeEdit"));
    auto* date_label = plain_label(to_qt(texts::kDialDateLabel), this);
    date_label->setBuddy(DateEdit);
    auto* time_label = plain_label(to_qt(texts::kDialTimeLabel), this);
    time_label->setBuddy(TimeEdit);
    InstantProblem = plain_label(this);
    InstantProblem->setObjectName(QStringLiteral("InstantProblem"));
    InstantProblem->setWordWrap(true);
    InstantProblem->hide();
    connect(ShowMovers, &QCheckBox::toggled, this, [this] { update_movers(); });
    connect(DateEdit, &QLineEdit::textEdited, this, [this] { instant_edited(); });
    connect(TimeEdit, &QLineEdit::textEdited, this, [this] { instant_edited(); });

    PointerHeading = plain_label(this);
    PointerHeading->setObjectName(QStringLiteral("PointerHeading"));
    PointerHeading->setWordWrap(true);

    // The midpoint tree: the pointer, the factors on it, under each the midpoints equal to it.
    PointerList = new QTreeWidget(this);
    PointerList->setObjectName(QStringLiteral("PointerList"));
    PointerList->setRootIsDecorated(true);
    PointerList->setColumnCount(4);
    PointerList->setHeaderLabels({to_qt(texts::kDialColumnPoint), to_qt(texts::kDialColumnPosition),
                                  to_qt(texts::kDialColumnDistance), to_qt(texts::kDialColumnLongitude)});
    PointerList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    PointerList->setFocusPolicy(Qt::TabFocus);
    PointerList->setAccessibleName(to_qt(texts::kA11yDialTree));

    const auto button = [this](const char* name, std::string_view caption) {
        auto* b = new QPushButton(to_qt(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    SavePng = button("SavePng", texts::kDialSavePng);
    SaveSvg = button("SaveSvg", texts::kDialSaveSvg);
    PrintButton = button("PrintButton", texts::kDialPrint);
    connect(SavePng, &QPushButton::clicked, this, [this] { save_clicked(false); });
    connect(SaveSvg, &QPushButton::clicked, this, [this] { save_clicked(true); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { print_clicked(); });

    auto* side = new QVBoxLayout;
    auto* size_row = new QHBoxLayout;
    size_row->addWidget(modulus_label);
    size_row->addWidget(ModulusChoice, 1);
    side->addLayout(size_row);
    side->addWidget(ShowMovers);
    auto* instant_grid = new QGridLayout;
    instant_grid->addWidget(date_label, 0, 0);
    instant_grid->addWidget(DateEdit, 0, 1);
    instant_grid->addWidget(time_label, 1, 0);
    instant_grid->addWidget(TimeEdit, 1, 1);
    side->addLayout(instant_grid);
    side->addWidget(InstantProblem);
    side->addWidget(PointerHeading);
    side->addWidget(PointerList, 1);
    side->addWidget(SavePng);
    side->addWidget(SaveSvg);
    side->addWidget(PrintButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(canvas_, 1);
    layout->addLayout(side);
    PointerList->setMinimumWidth(280);

    choose_file = [this](const QString& caption, const QString& filter,
                         const QString& suffix) -> std::optional<std::string> {
        QFileDialog dialog(this, caption, dial_picture_folder(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    };
    // The keyboard's way: the dial, its size, the tree, the buttons.
    ModulusChoice->setAccessibleName(to_qt(texts::kA11yDialModulus));
    ModulusChoice->view()->setAccessibleName(to_qt(texts::kA11yDialModulus));
    setTabOrder(canvas_, ModulusChoice);
    setTabOrder(ModulusChoice, PointerList);
    setTabOrder(PointerList, ShowMovers);
    setTabOrder(ShowMovers, DateEdit);
    setTabOrder(DateEdit, TimeEdit);
    setTabOrder(TimeEdit, SavePng);
    setTabOrder(SavePng, SaveSvg);
    setTabOrder(SaveSvg, PrintButton);
    close_on_escape(*this);
    canvas_->setFocus();
    instant_edited();  // reads the fields and fills the tree
}

void DialWindow::update_persons(bool person1, bool person2)
{
    person2_ = person1 && person2;
    DialScene& scene = canvas_->scene;
    const Positions old1 = scene.pos1;
    const std::optional<Positions> old2 = scene.pos2;
    scene.pos1 = person1 ? chart_.pos1 : no_positions();
    scene.legend1 = person1 ? legend(texts::kDialInner, chart_.person1) : QString();
    if (person2_) {
        scene.pos2 = chart_.pos2;
        scene.legend2 = legend(texts::kDialOuter, chart_.person2);
    } else {
        scene.pos2.reset();
        scene.legend2.clear();
    }
    const auto same = [](const Positions& a, const Positions& b) {
        return std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0;
    };
    const bool changed = !same(old1, scene.pos1) || old2.has_value() != scene.pos2.has_value() ||
                         (old2 && !same(*old2, *scene.pos2));
    if (changed) clear_entry();
    update_movers();
}

void DialWindow::set_longitude(double longitude)
{
    // Kept as given within one turn, so that the 22.5-degree dial shows an entry's axis exactly.
    if (!std::isfinite(longitude)) longitude = 0;
    longitude_ = longitude >= 0 && longitude < 360 ? longitude : normalize_dial(longitude, 360);
    show_pointer();
}

void DialWindow::set_pointer(double position)
{
    const double move = dial_difference(pointer(), position, modulus());
    // Whole millionths of a degree stay whole: no drift from adding steps.
    set_longitude(normalize_dial(std::round((longitude_ + move) * 1e6) / 1e6, 360));
}

void DialWindow::set_modulus(double modulus)
{
    const int index = ModulusChoice->findData(modulus);
    if (index < 0) return;  // not a size the dial is drawn in
    canvas_->scene.modulus = modulus;
    const QSignalBlocker quiet(ModulusChoice);
    ModulusChoice->setCurrentIndex(index);
    show_pointer();
}

void DialWindow::show_pointer()
{
    canvas_->scene.pointer = dial_position(longitude_, modulus());
    fill_list();
    canvas_->update();
}

void DialWindow::show_entry(const std::string& entry, const EntryCharts& charts)
{
    const auto picture = entry_picture(entry, charts, chart_.pos1, chart_.pos2);
    if (!picture) {
        clear_entry();
        return;
    }
    show_entry_picture(canvas_->scene, *picture);
    set_longitude(picture->axis_longitude);
}

void DialWindow::show_target(const PairPoint& target)
{
    // The target's longitude is kept whole, so that every dial size shows the target itself.
    clear_entry();
    set_longitude(point_longitude(target, chart_.pos1, chart_.pos2));
}

void DialWindow::clear_entry()
{
    canvas_->scene.highlighted.fill(false);
    canvas_->scene.arcs.clear();
    canvas_->update();
}

void DialWindow::set_instant(double julian_day_ut)
{
    if (!std::isfinite(julian_day_ut)) return;
    // The fields show the minute; the ring stands at the instant itself.
    const MinuteTime m = minute_time(julian_day_ut);
    DateEdit->setText(to_qt(date_text(m)));
    TimeEdit->setText(to_qt(clock_text(m)));
    instant_ = julian_day_ut;
    const QSignalBlocker quiet(ShowMovers);
    ShowMovers->setChecked(true);
    update_movers();
}

std::optional<double> DialWindow::instant() const
{
    return ShowMovers->isChecked() ? instant_ : std::nullopt;
}

void DialWindow::set_movers(const TimelineRequest& request)
{
    movers_ = request;
    movers_.progress = nullptr;
    update_movers();
}

void DialWindow::instant_edited()
{
    instant_.reset();
    const std::optional<CivilTime> date = parse_date(DateEdit->text().trimmed().toStdString());
    if (date) {
        if (const std::optional<CivilTime> ut = parse_clock(TimeEdit->text().trimmed().toStdString(), *date))
            instant_ = julian_day(*ut);
    }
    update_movers();
}

void DialWindow::update_movers()
{
    DialScene& scene = canvas_->scene;
    scene.movers.clear();
    scene.legend_movers.clear();
    const bool wanted = ShowMovers->isChecked();
    InstantProblem->setVisible(wanted && !instant_);
    QPalette palette = InstantProblem->palette();
    palette.setColor(QPalette::WindowText, scene.colours.refused);
    InstantProblem->setPalette(palette);
    if (!instant_) InstantProblem->setText(to_qt(texts::kDialBadInstant));
    // A person who is not loaded moves nothing.
    const bool person1 = std::isfinite(scene.pos1[0]);
    if (wanted && instant_ && person1) {
        TimelineRequest request = movers_;
        request.arc2 = request.arc2 && person2_;
        scene.movers = ring_points(chart_, request, *instant_);
        scene.legend_movers = to_qt(ring_legend(*instant_));
    }
    fill_list();
    canvas_->update();
}

double DialWindow::list_orb() const { return orbs_.orb_simple > 0 ? orbs_.orb_simple : 1.0; }

void DialWindow::changeEvent(QEvent* event)
{
    // The window hears of a new palette before its children: the dial and the tree follow it now.
    if (event->type() == QEvent::PaletteChange) {
        canvas_->scene.colours = colours_for(palette());
        canvas_->update();
        fill_list();
    }
    QWidget::changeEvent(event);
}

void DialWindow::fill_list()
{
    const double orb = list_orb();
    const double m = modulus();
    const DialScene& scene = canvas_->scene;
    tree_ = pointer_tree(scene.pos1, scene.pos2 ? &*scene.pos2 : nullptr, pointer(), orb, m, scene.movers);
    std::string heading = std::string(texts::kDialPointerLabel) + pointer_text(pointer(), m) + "\r" +
                          std::string(texts::kDialOnPointer) + " (" + angle_text(2, 1, orb) + ")";
    if (!(orbs_.orb_simple > 0)) heading += texts::kDialOrbDefault;
    PointerHeading->setText(to_qt(heading).replace(QChar(u'\r'), QChar(u'\n')));

    // Person 1's points in the colour of the inner ring and person 2's in that of the outer one;
    // WI and midpoints across the persons in the text colour.
    const PictureColours& colours = canvas_->scene.colours;
    const auto add = [m, &colours](QTreeWidgetItem* parent, const DialItem& item) {
        auto* row = new QTreeWidgetItem(parent);
        row->setText(0, to_qt(item_name(item)));
        row->setText(1, to_qt(pointer_text(item.position, m)));
        row->setText(2, to_qt(angle_text(2, 1, item.distance)));
        row->setText(3, to_qt(position_text(item.longitude)));
        const bool one = touches_person(item.point, 1);
        const bool two = touches_person(item.point, 2);
        const QColor colour = !item.mover.empty() ? colours.movers
                              : one && !two ? colours.person1
                              : two && !one ? colours.person2
                                            : colours.text;
        for (int c = 0; c < 4; ++c) row->setForeground(c, colour);
        return row;
    };
    PointerList->clear();
    auto* root = new QTreeWidgetItem(PointerList);
    root->setText(0, to_qt(texts::kDialTreePointer));
    root->setText(1, to_qt(pointer_text(pointer(), m)));
    for (const TreeBranch& branch : tree_.factors) {
        QTreeWidgetItem* factor = add(root, branch.factor);
        for (const DialItem& midpoint : branch.midpoints) add(factor, midpoint);
    }
    for (const DialItem& midpoint : tree_.midpoints) add(root, midpoint);
    PointerList->expandAll();
    // The third ring reads after both persons: "Sonnenbogen Sonne, Person 1", "Saturn, Transit".
    std::vector<DialFactorReading> factors = person_factor_readings(scene);
    for (const MovingPoint& mover : scene.movers)
        if (std::isfinite(mover.longitude)) factors.push_back({spoken_mover(mover.name), mover.longitude, 2});
    update_dial_reading(*canvas_, std::move(factors), spoken_tree(tree_));
}

std::vector<std::string> DialWindow::header_lines() const
{
    std::vector<std::string> lines = {person_header(texts::kDialPerson1, chart_.person1)};
    if (person2_) lines.push_back(person_header(texts::kDialPerson2, chart_.person2));
    lines.push_back(std::string(texts::kDialPointerLabel) + pointer_text(pointer(), modulus()) + ", " +
                    modulus_text(modulus()) + std::string(texts::kDialModulusSuffix));
    return lines;
}

bool DialWindow::write(const std::string& path, const QByteArray& bytes)
{
    const std::string error = save_picture(path, bytes);
    if (error.empty()) {
        remember_picture_folder(QString::fromStdString(path));
        return true;
    }
    desktop_.message(BoxType::error, error, Buttons::ok);
    return false;
}

bool DialWindow::save_png(const std::string& path)
{
    // The picture as large as the dial shows on screen, at least 800 pixels.
    const int size = std::max(800, static_cast<int>(std::lround(
                                       std::min(canvas_->width(), canvas_->height()) * devicePixelRatioF())));
    return write(path, dial_png(on_paper(canvas_->scene), size));
}

bool DialWindow::save_svg(const std::string& path)
{
    return write(path, dial_svg(on_paper(canvas_->scene), 800, QStringLiteral("Duoskop ") + to_qt(texts::kDialCaption)));
}

void DialWindow::save_clicked(bool svg)
{
    const auto path = svg ? choose_file(to_qt(texts::kDialSaveSvg).remove(QChar(u'&')),
                                        QStringLiteral("*.svg"), QStringLiteral("svg"))
                          : choose_file(to_qt(texts::kDialSavePng).remove(QChar(u'&')),
                                        QStringLiteral("*.png"), QStringLiteral("png"));
    if (!path) return;
    if (svg) save_svg(*path);
    else save_png(*path);
}

void DialWindow::print_to(QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        desktop_.message(BoxType::error, texts::kDialPrintFailed, Buttons::ok);
        return;
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const QRectF page(0, 0, device.width(), device.height());
    double y = metrics.ascent();
    for (const std::string& line : header_lines()) {
        painter.drawText(QPointF(0, y), to_qt(line));
        y += metrics.lineSpacing();
    }
    paint_dial(painter, page.adjusted(0, y, 0, 0), on_paper(canvas_->scene));
    painter.end();
}

std::string DialWindow::print_name() const
{
    std::string name = std::string(texts::kDialCaption) + " " + chart_.person1.name;
    if (person2_) name += " " + chart_.person2.name;
    return name;
}

QString DialWindow::print_proposal() const
{
    const QString folder = QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
                               .value(print_folder_setting(), dial_picture_folder())
                               .toString();
    return print_file_proposal(folder, print_name());
}

void DialWindow::print_clicked()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(to_qt(print_name()));
    // The file proposed when printing to a file; a real printer stays the first choice.
    printer.setOutputFileName(print_proposal());
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) printer.setOutputFormat(QPrinter::NativeFormat);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
            .setValue(print_folder_setting(), QFileInfo(printer.outputFileName()).absolutePath());
    print_to(printer);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        remember_picture_folder(printer.outputFileName());
}

QString dial_picture_folder()
{
    const QString kept = QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
                             .value(QStringLiteral("Scheibe/Bilderordner"))
                             .toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir()) return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

void remember_picture_folder(const QString& saved_file)
{
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
        .setValue(QStringLiteral("Scheibe/Bilderordner"), QFileInfo(saved_file).absolutePath());
}

// ---------------------------------------------------------------------------------------------
// The entry in the main window

DialWindow* dial_window_of(const TForm1& form)
{
    auto* holder = dynamic_cast<DialHolder*>(form.findChild<QObject*>(QStringLiteral("DialHolder")));
    return holder == nullptr ? nullptr : holder->window.get();
}

QAction* install_dial_window(TForm1& form, Desktop& desktop)
{
    auto* holder = new DialHolder(&form);
    install_dial_accessible();
    // Its place in the menu is decided by the Extras list.
    auto* action = form.Extras1->addAction(to_qt(texts::kMenuDial));
    action->setObjectName(QStringLiteral("Scheibe1"));
    action->setEnabled(false);

    const auto follow_persons = [&form, holder] {
        if (!holder->window) return;
        // The solar arcs are measured by the Sun of the natal positions in use.
        if (holder->window->movers().natal_source != form.position_source()) {
            TimelineRequest movers = holder->window->movers();
            movers.natal_source = form.position_source();
            holder->window->set_movers(movers);
        }
        holder->window->update_persons(form.person1_loaded(), form.person2_loaded());
    };
    QObject::connect(action, &QAction::triggered, holder, [&form, &desktop, holder, follow_persons] {
        if (!form.person1_loaded()) return;
        if (!holder->window) holder->window = std::make_unique<DialWindow>(desktop, form.chart, form.orbs);
        follow_persons();
        holder->window->show();
        holder->window->raise();
        holder->window->activateWindow();
    });
    form.state_listeners.push_back([&form, action, follow_persons] {
        action->setEnabled(form.person1_loaded() && !form.ended());
        follow_persons();
    });
    form.Form2->current_entry_listeners.push_back([&form, holder](int row) {
        if (!holder->window) return;
        const auto& entries = form.Form2->entries();
        if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) {
            holder->window->clear_entry();
            return;
        }
        const auto& charts = form.Form2->entry_charts();
        const auto index = static_cast<std::size_t>(row);
        holder->window->show_entry(entries[index], index < charts.size() ? charts[index] : EntryCharts{});
    });
    return action;
}

}  // namespace duoskop
