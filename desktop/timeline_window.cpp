// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/timeline_window.h"

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>

#include "app/dial.h"
#include "astro/un_math.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/desktop_texts.h"
#include "desktop/dial_window.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/unit1.h"
#include "desktop/window_habits.h"
#include "timeline/timeline_export.h"
#include "timeline/timeline_texts.h"

namespace duoskop {

namespace {

enum Column { kDate, kTime, kMover, kAngle, kTarget, kDirection, kErgebnis, kColumns };
constexpr int sort_role = Qt::UserRole + 1;

/// A date of the field as the chart calendar counts it, or nothing.
std::optional<CivilTime> field_date(const QLineEdit* field) { return parse_date(field->text().trimmed().toStdString()); }

QString date_field_text(int day, int month, int year)
{
    return QStringLiteral("%1.%2.%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year, 4, 10, QLatin1Char('0'));
}

/// An orb as the main window's label shows it: "1,0".
QString orb_label(double orb) { return to_qt(angle_text(2, 1, orb)); }

}  // namespace

/// The hits of a timeline as table rows; formats each cell when it is shown.
class HitModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void set(std::shared_ptr<const Timeline> timeline)
    {
        beginResetModel();
        timeline_ = std::move(timeline);
        endResetModel();
    }
    const Timeline* timeline() const { return timeline_.get(); }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !timeline_ ? 0 : static_cast<int>(timeline_->hits.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!timeline_ || !index.isValid()) return {};
        const Hit& hit = timeline_->hits[static_cast<std::size_t>(index.row())];
        if (role == sort_role) {
            switch (index.column()) {
            case kDate:
            case kTime: return hit.instant;
            case kAngle: return hit.angle;
            default: break;
            }
            return data(index, Qt::DisplayRole);
        }
        if (role == Qt::TextAlignmentRole && index.column() == kAngle)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        const std::vector<std::string> fields = hit_fields(*timeline_, hit);
        return to_qt(fields[static_cast<std::size_t>(index.column())]);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
        std::string header = hit_header()[static_cast<std::size_t>(section)];
        if (section == kTime) header += " (UT)";
        return to_qt(header);
    }

private:
    std::shared_ptr<const Timeline> timeline_;
};

/// Which hits the table shows: by mover, by target (the name holds the text typed) and only
/// those on the comparisons' points.
class HitFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void set(int mover, QString target, bool only_ergebnis)
    {
        mover_ = mover;
        target_ = std::move(target);
        only_ergebnis_ = only_ergebnis;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        const Timeline* t = static_cast<const HitModel*>(sourceModel())->timeline();
        if (t == nullptr) return false;
        const Hit& hit = t->hits[static_cast<std::size_t>(row)];
        if (mover_ >= 0 && hit.mover != mover_) return false;
        if (only_ergebnis_ && !hit.ergebnis) return false;
        if (!target_.isEmpty() &&
            !QString::fromStdString(point_name(t->targets[hit.target].point)).contains(target_, Qt::CaseInsensitive))
            return false;
        return true;
    }

private:
    int mover_ = -1;
    QString target_;
    bool only_ergebnis_ = false;
};

TimelineWindow::TimelineWindow(TForm1& form, Desktop& desktop, DriveC drive)
    : QDialog(&form), form_(form), desktop_(desktop), drive_(std::move(drive)),
      timeline_(std::make_shared<const Timeline>()), run_(this)
{
    setObjectName(QStringLiteral("TimelineWindow"));
    setWindowTitle(to_qt(texts::kTimelineCaption));
    // The main window waits while it is open, so that the pair stays the one computed; the dial,
    // a window of its own, follows the rows chosen.
    setWindowModality(Qt::WindowModal);
    resize(900, 600);

    const auto check = [this](std::string_view text, const char* name, bool on) {
        auto* box = new QCheckBox(to_qt(text), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(on);
        return box;
    };
    FromEdit = new QLineEdit(this);
    FromEdit->setObjectName(QStringLiteral("FromEdit"));
    ToEdit = new QLineEdit(this);
    ToEdit->setObjectName(QStringLiteral("ToEdit"));
    const int year = QDate::currentDate().year();
    FromEdit->setText(date_field_text(1, 1, year));
    ToEdit->setText(date_field_text(31, 12, year));
    for (QLineEdit* field : {FromEdit, ToEdit}) {
        field->setMaxLength(10);
        field->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    }
    Arc1 = check(texts::kTimelineArc1, "Arc1", true);
    Arc2 = check(texts::kTimelineArc2, "Arc2", true);
    Transits = check(texts::kTimelineTransits, "Transits", true);
    PreciseTransits = check(texts::kTimelinePreciseTransits, "PreciseTransits", true);
    TargetErgebnis = check(texts::kTimelineErgebnis, "TargetErgebnis", true);
    TargetFactors = check(texts::kTimelineFactors, "TargetFactors", false);
    TargetCross = check(texts::kTimelineCross, "TargetCross", false);
    TargetOwn = check(texts::kTimelineOwn, "TargetOwn", false);
    OrbsLabel = plain_label(this);
    OrbsLabel->setObjectName(QStringLiteral("OrbsLabel"));
    OrbsLabel->setWordWrap(true);
    StartButton = new QPushButton(to_qt(texts::kTimelineStart), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, 1000);
    CancelButton = new QPushButton(to_qt(texts::kTimelineCancel), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    Status = plain_label(this);
    Status->setObjectName(QStringLiteral("Status"));

    MoverFilter = new QComboBox(this);
    MoverFilter->setObjectName(QStringLiteral("MoverFilter"));
    TargetFilter = new QLineEdit(this);
    TargetFilter->setObjectName(QStringLiteral("TargetFilter"));
    TargetFilter->setClearButtonEnabled(true);
    OnlyErgebnis = check(texts::kTimelineOnlyErgebnis, "OnlyErgebnis", false);

    model_ = new HitModel(this);
    filter_ = new HitFilter(this);
    filter_->setSourceModel(model_);
    filter_->setSortRole(sort_role);
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(filter_);
    Table->verticalHeader()->hide();
    Table->setWordWrap(false);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setSortingEnabled(true);
    Table->sortByColumn(kDate, Qt::AscendingOrder);
    Clusters = new QListWidget(this);
    Clusters->setObjectName(QStringLiteral("Clusters"));
    CsvButton = new QPushButton(to_qt(texts::kTimelineCsv), this);
    CsvButton->setObjectName(QStringLiteral("CsvButton"));
    IcsButton = new QPushButton(to_qt(texts::kTimelineIcs), this);
    IcsButton->setObjectName(QStringLiteral("IcsButton"));

    // Range and start.
    auto* range = new QHBoxLayout;
    auto* from_label = plain_label(to_qt(texts::kTimelineFrom), this);
    from_label->setBuddy(FromEdit);
    auto* to_label = plain_label(to_qt(texts::kTimelineTo), this);
    to_label->setBuddy(ToEdit);
    range->addWidget(from_label);
    range->addWidget(FromEdit);
    range->addSpacing(12);
    range->addWidget(to_label);
    range->addWidget(ToEdit);
    range->addSpacing(12);
    range->addWidget(StartButton);
    range->addStretch(1);
    // Movers and targets.
    auto* movers = new QGroupBox(to_qt(texts::kTimelineMovers), this);
    auto* mover_row = new QHBoxLayout(movers);
    for (QCheckBox* box : {Arc1, Arc2, Transits, PreciseTransits}) mover_row->addWidget(box);
    mover_row->addStretch(1);
    auto* targets = new QGroupBox(to_qt(texts::kTimelineTargets), this);
    auto* target_row = new QHBoxLayout(targets);
    for (QCheckBox* box : {TargetErgebnis, TargetFactors, TargetCross, TargetOwn}) target_row->addWidget(box);
    target_row->addStretch(1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(Progress, 1);
    progress->addWidget(CancelButton);
    // Filters, table and clusters, export.
    auto* filters = new QHBoxLayout;
    auto* mover_label = plain_label(to_qt(texts::kTimelineFilterMover), this);
    mover_label->setBuddy(MoverFilter);
    auto* target_label = plain_label(to_qt(texts::kTimelineFilterTarget), this);
    target_label->setBuddy(TargetFilter);
    filters->addWidget(mover_label);
    filters->addWidget(MoverFilter);
    filters->addSpacing(12);
    filters->addWidget(target_label);
    filters->addWidget(TargetFilter);
    filters->addSpacing(12);
    filters->addWidget(OnlyErgebnis);
    filters->addStretch(1);
    auto* clusters = new QWidget(this);
    auto* cluster_column = new QVBoxLayout(clusters);
    cluster_column->setContentsMargins(0, 0, 0, 0);
    cluster_column->addWidget(plain_label(to_qt(texts::kTimelineClusters), clusters));
    cluster_column->addWidget(Clusters, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(Table);
    split->addWidget(clusters);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* exports = new QHBoxLayout;
    exports->addStretch(1);
    exports->addWidget(CsvButton);
    exports->addWidget(IcsButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(movers);
    layout->addWidget(targets);
    layout->addWidget(OrbsLabel);
    layout->addLayout(progress);
    layout->addWidget(Status);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(exports);
    // For a screen reader: the fields that a label does not name, and what the lists hold.
    FromEdit->setAccessibleName(to_qt(texts::kA11yTimelineFrom));
    FromEdit->setAccessibleDescription(to_qt(texts::kA11yDateInfo));
    ToEdit->setAccessibleName(to_qt(texts::kA11yTimelineTo));
    ToEdit->setAccessibleDescription(to_qt(texts::kA11yDateInfo));
    MoverFilter->setAccessibleName(to_qt(texts::kA11yTimelineMoverFilter));
    MoverFilter->view()->setAccessibleName(to_qt(texts::kA11yTimelineMoverFilter));
    TargetFilter->setAccessibleName(to_qt(texts::kA11yTimelineTargetFilter));
    TargetFilter->setAccessibleDescription(to_qt(texts::kA11yTimelineTargetFilterInfo));
    Table->setAccessibleName(to_qt(texts::kA11yTimelineHits));
    Table->setAccessibleDescription(to_qt(texts::kA11yTimelineHitsInfo));
    Clusters->setAccessibleName(to_qt(texts::kA11yTimelineClusters));
    Clusters->setAccessibleDescription(to_qt(texts::kA11yTimelineClustersInfo));
    Progress->setAccessibleName(to_qt(texts::kA11yTimelineProgress));
    // The keyboard's way follows the window from top to bottom: range and start, movers,
    // targets, cancel, filters, hits, clusters, export.
    QWidget* const order[] = {FromEdit, ToEdit, StartButton, Arc1, Arc2, Transits, PreciseTransits,
                              TargetErgebnis, TargetFactors, TargetCross, TargetOwn, CancelButton, MoverFilter,
                              TargetFilter, OnlyErgebnis, Table, Clusters, CsvButton, IcsButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    set_running(false);
    close_on_escape(*this);

    connect(StartButton, &QPushButton::clicked, this, [this] { StartClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(CsvButton, &QPushButton::clicked, this, [this] { ExportCsvClick(); });
    connect(IcsButton, &QPushButton::clicked, this, [this] { ExportIcsClick(); });
    connect(MoverFilter, &QComboBox::currentIndexChanged, this, [this] { filters_changed(); });
    connect(TargetFilter, &QLineEdit::textChanged, this, [this] { filters_changed(); });
    connect(OnlyErgebnis, &QCheckBox::toggled, this, [this] { filters_changed(); });
    connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { row_chosen(current.row()); });
    connect(Clusters, &QListWidget::currentRowChanged, this, [this](int index) { cluster_chosen(index); });

    Ausloesungen1 = form_.Extras1->addAction(to_qt(texts::kMenuTimeline));
    Ausloesungen1->setObjectName(QStringLiteral("Ausloesungen1"));
    connect(Ausloesungen1, &QAction::triggered, this, [this] { Ausloesungen1Click(); });
    form_.state_listeners.push_back([this] { Ausloesungen1->setEnabled(usable()); });
    Ausloesungen1->setEnabled(usable());
}

TimelineWindow::~TimelineWindow()
{
    // The run's reports go to this window: run_, the last member, stops it and waits for it first.
}

bool TimelineWindow::usable() const
{
    return !form_.ended() && form_.person1_loaded() && form_.person2_loaded() && !form_.waiting_for_halfsum_orb();
}

void TimelineWindow::Ausloesungen1Click()
{
    if (!usable()) return;
    // The hits of an earlier run go when the pair is no longer the one they were computed for.
    const ChartState& now = form_.chart;
    if (now.person1 != run_chart_.person1 || now.person2 != run_chart_.person2 || now.pos1 != run_chart_.pos1 ||
        now.pos2 != run_chart_.pos2) {
        timeline_ = std::make_shared<const Timeline>();
        finished(Timeline{});
        Status->clear();
    }
    const bool orbs = form_.Solar1->isEnabled();
    OrbsLabel->setText(orbs ? to_qt(texts::kTimelineOrbsUsed) + QStringLiteral(" (") + orb_label(form_.orbs.orb_double) +
                                  QStringLiteral(" / ") + orb_label(form_.orbs.orb_simple) + QStringLiteral(")")
                            : to_qt(texts::kTimelineNoOrbs));
    show();
    raise();
    activateWindow();
}

std::optional<TimelineRequest> TimelineWindow::read_request()
{
    const std::optional<CivilTime> from = field_date(FromEdit), to = field_date(ToEdit);
    if (!from || !to) {
        desktop_.message(BoxType::warning, texts::kTimelineBadDate, Buttons::ok);
        (from ? ToEdit : FromEdit)->setFocus();
        return std::nullopt;
    }
    TimelineRequest request;
    request.from = julian_day(*from);
    request.to = julian_day(*to) + 1;  // 24:00 of the last day
    if (request.to - 1 < request.from) {
        desktop_.message(BoxType::warning, texts::kTimelineReversed, Buttons::ok);
        ToEdit->setFocus();
        return std::nullopt;
    }
    request.arc1 = Arc1->isChecked();
    request.arc2 = Arc2->isChecked();
    request.transits = Transits->isChecked();
    if (!request.arc1 && !request.arc2 && !request.transits) {
        desktop_.message(BoxType::warning, texts::kTimelineNoMover, Buttons::ok);
        return std::nullopt;
    }
    request.transit_source = PreciseTransits->isChecked() ? PositionSource::precise : PositionSource::theory;
    if (request.transits && request.transit_source == PositionSource::precise &&
        (from->year < precise_first_year || to->year > precise_last_year)) {
        desktop_.message(BoxType::warning,
                         std::string(texts::kTimelineYears1) + std::to_string(precise_first_year) +
                             std::string(texts::kTimelineYears2) + std::to_string(precise_last_year) +
                             std::string(texts::kTimelineYears3) + std::string(texts::kTimelineYearsPrecise) + ".",
                         Buttons::ok);
        FromEdit->setFocus();
        return std::nullopt;
    }
    request.natal_source = form_.position_source();
    request.targets = {TargetErgebnis->isChecked(),
                       {TargetFactors->isChecked(), TargetOwn->isChecked(), TargetCross->isChecked()},
                       {}};
    if (!request.targets.ergebnis && !request.targets.sets.factors && !request.targets.sets.own &&
        !request.targets.sets.cross) {
        desktop_.message(BoxType::warning, texts::kTimelineNoTarget, Buttons::ok);
        return std::nullopt;
    }
    // The comparisons' points with the main window's orbs once they are entered.
    if (form_.Solar1->isEnabled()) request.orbs = form_.orbs;
    return request;
}

void TimelineWindow::StartClick()
{
    if (running() || !usable()) return;
    std::optional<TimelineRequest> request = read_request();
    if (!request) return;

    run_chart_ = form_.chart;
    Progress->setValue(0);
    Status->setText(to_qt(texts::kTimelineRunning));
    set_running(true);
    run_.start(
        [chart = run_chart_, request = std::move(*request)](std::stop_token stop, std::function<void(double)> progress) {
            TimelineRequest r = request;
            r.stop = stop;
            r.progress = std::move(progress);
            return compute_timeline(chart, r);
        },
        [this](double share) { Progress->setValue(std::max(static_cast<int>(share * 1000), Progress->value())); },
        [this](Timeline timeline) { finished(std::move(timeline)); });
}

void TimelineWindow::CancelClick()
{
    if (running()) run_.stop();
}

void TimelineWindow::finished(Timeline timeline)
{
    set_running(false);
    if (timeline.cancelled) {
        Status->setText(to_qt(texts::kTimelineCancelled));
        return;
    }
    timeline_ = std::make_shared<const Timeline>(std::move(timeline));
    const Timeline& t = *timeline_;
    model_->set(timeline_);
    {
        const QSignalBlocker quiet(MoverFilter);
        MoverFilter->clear();
        MoverFilter->addItem(to_qt(texts::kTimelineAll), -1);
        for (std::size_t k = 0; k < t.movers.size(); ++k)
            MoverFilter->addItem(QString::fromStdString(mover_name(t.movers[k])), static_cast<int>(k));
    }
    Clusters->clear();
    for (const Cluster& c : t.clusters) {
        std::string line = date_text(minute_time(c.first)) + " \x96 " + date_text(minute_time(c.last)) + ": " +
                           std::to_string(c.hits.size()) + std::string(texts::kClusterHits) +
                           std::to_string(c.targets) + std::string(texts::kClusterTargets);
        if (c.beide) line += texts::kClusterBoth;
        Clusters->addItem(to_qt(line));
    }
    std::string notes;
    for (const std::string& note : unknown_time_notes(t, run_chart_.person1.name, run_chart_.person2.name))
        notes += note + ". ";
    Status->setText(to_qt(notes) + QString::number(t.hits.size()) + to_qt(texts::kTimelineHitsAfter));
    filters_changed();
    Table->resizeColumnsToContents();
}

void TimelineWindow::filters_changed()
{
    filter_->set(MoverFilter->currentData().isValid() ? MoverFilter->currentData().toInt() : -1,
                 TargetFilter->text().trimmed(), OnlyErgebnis->isChecked());
    if (!timeline_->hits.empty())
        Status->setText(QString::number(timeline_->hits.size()) + to_qt(texts::kTimelineHitsAfter) +
                        QStringLiteral(", ") + QString::number(filter_->rowCount()) + to_qt(texts::kTimelineShownAfter));
}

std::optional<std::size_t> TimelineWindow::hit_of_row(int row) const
{
    const QModelIndex index = filter_->index(row, 0);
    if (!index.isValid()) return std::nullopt;
    return static_cast<std::size_t>(filter_->mapToSource(index).row());
}

std::vector<std::size_t> TimelineWindow::shown_hits() const
{
    std::vector<std::size_t> hits;
    for (int row = 0; row < filter_->rowCount(); ++row) hits.push_back(*hit_of_row(row));
    return hits;
}

bool TimelineWindow::select_nearest_hit(double instant, const std::optional<PairPoint>& target)
{
    int best = -1;
    double best_distance = 0;
    for (int row = 0; row < filter_->rowCount(); ++row) {
        const Hit& hit = timeline_->hits[*hit_of_row(row)];
        if (target && timeline_->targets[hit.target].point != *target) continue;
        const double distance = std::abs(hit.instant - instant);
        if (best < 0 || distance < best_distance) {
            best = row;
            best_distance = distance;
        }
    }
    if (best < 0) return false;
    const QModelIndex index = filter_->index(best, 0);
    Table->setCurrentIndex(index);
    Table->scrollTo(index);
    return true;
}

void TimelineWindow::row_chosen(int row)
{
    const std::optional<std::size_t> hit = hit_of_row(row);
    DialWindow* dial = dial_window_of(form_);
    if (!hit || dial == nullptr || !dial->isVisible()) return;
    dial->show_target(timeline_->targets[timeline_->hits[*hit].target].point);
}

void TimelineWindow::cluster_chosen(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= timeline_->clusters.size()) return;
    const std::size_t first = timeline_->clusters[static_cast<std::size_t>(index)].hits.front();
    const QModelIndex shown = filter_->mapFromSource(model_->index(static_cast<int>(first), 0));
    if (!shown.isValid()) return;
    Table->setCurrentIndex(shown);
    Table->scrollTo(shown, QAbstractItemView::PositionAtTop);
}

Timeline TimelineWindow::shown_timeline() const
{
    Timeline shown;
    shown.movers = timeline_->movers;
    shown.targets = timeline_->targets;
    shown.time_known1 = timeline_->time_known1;
    shown.time_known2 = timeline_->time_known2;
    std::vector<std::size_t> hits = shown_hits();
    std::sort(hits.begin(), hits.end());  // time order, whatever column sorts the table
    for (const std::size_t i : hits) shown.hits.push_back(timeline_->hits[i]);
    return shown;
}

void TimelineWindow::save(const std::string& suffix, const std::string& filter, const std::string& kind)
{
    const Timeline shown = shown_timeline();
    if (shown.hits.empty()) {
        desktop_.message(BoxType::information, texts::kTimelineNothingToSave, Buttons::ok);
        return;
    }
    const std::string suggested = cp1252_to_utf8(std::string(texts::kTimelineCaption) + " " + run_chart_.person1.name +
                                                 " " + run_chart_.person2.name) + suffix;
    const std::optional<std::string> path = desktop_.save_file_as(drive_.resolve("c:\\").string(), suggested, filter);
    if (!path) return;
    const std::string bytes =
        kind == "csv" ? timeline_csv(shown)
                      : timeline_ics(shown, {run_chart_.person1, run_chart_.person2,
                                             static_cast<std::int64_t>(std::time(nullptr)), DUOSKOP_VERSION});
    const WriteResult written = write_file_whole(*path, bytes);
    if (!written.ok()) {
        desktop_.message(BoxType::error, cp1252_of_file_name(*path) + "\r" + written.message(), Buttons::ok);
        return;
    }
    Status->setText(to_qt(texts::kTimelineSaved) + QString::fromStdString(valid_utf8(*path)));
}

void TimelineWindow::ExportCsvClick() { save(".csv", cp1252_to_utf8(texts::kTimelineCsvFilter), "csv"); }

void TimelineWindow::ExportIcsClick() { save(".ics", cp1252_to_utf8(texts::kTimelineIcsFilter), "ics"); }

void TimelineWindow::reject()
{
    CancelClick();
    QDialog::reject();
}

void TimelineWindow::set_running(bool running)
{
    Progress->setVisible(running);
    CancelButton->setVisible(running);
    StartButton->setEnabled(!running);
    for (QWidget* w : std::initializer_list<QWidget*>{FromEdit, ToEdit, Arc1, Arc2, Transits, PreciseTransits,
                                                      TargetErgebnis, TargetFactors, TargetCross, TargetOwn, CsvButton,
                                                      IcsButton})
        w->setEnabled(!running);
}

}  // namespace duoskop
