// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Auslösungen": usable with both persons, a run in the background whose table holds
// the core's hits, filters and sorting, refusals, cancelling, export through the save dialog and
// the dial that follows the chosen row.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "astro/un_math.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/dial_window.h"
#include "desktop/timeline_window.h"
#include "fixture.h"
#include "timeline/timeline_export.h"
#include "timeline/timeline_texts.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Opened {
    Fixture fx;
    TimelineWindow* w = nullptr;

    /// Both persons and the orbs; the window open on the first quarter of 2024 with the transits
    /// of the theory (quick).
    Opened()
    {
        fx.ready();
        w = fx.form->timeline_window;
        w->Ausloesungen1->trigger();
        w->FromEdit->setText(QStringLiteral("01.01.2024"));
        w->ToEdit->setText(QStringLiteral("31.03.2024"));
        w->PreciseTransits->setChecked(false);
    }
    bool run()
    {
        w->StartButton->click();
        return QTest::qWaitFor([this] { return !w->running(); }, 60000);
    }
    /// What the core finds for the same choice.
    Timeline expected() const
    {
        TimelineRequest r;
        r.from = julian_day(*parse_date("01.01.2024"));
        r.to = julian_day(*parse_date("31.03.2024")) + 1;
        r.transit_source = PositionSource::theory;
        r.orbs = fx.form->orbs;
        return compute_timeline(fx.form->chart, r);
    }
    QString cell(int row, int column) const { return w->Table->model()->index(row, column).data().toString(); }
};

}  // namespace

class TimelineWindowTest : public QObject {
    Q_OBJECT
private slots:
    void entryIsUsableOnceBothPersonsAreLoaded();
    void runFillsTheTableWithTheCoresHits();
    void filtersAndSortingShowTheChosenRows();
    void refusesWhatCannotBeComputed();
    void cancelStopsTheRun();
    void exportsTheShownHits();
    void chosenRowTurnsTheDial();
};

void TimelineWindowTest::entryIsUsableOnceBothPersonsAreLoaded()
{
    Fixture fx;
    fx.start();
    QAction* entry = fx.form->timeline_window->Ausloesungen1;
    QVERIFY(fx.form->Extras1->actions().contains(entry));
    QCOMPARE(entry->text(), to_qt(texts::kMenuTimeline));
    QVERIFY(!entry->isEnabled());
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(!entry->isEnabled());
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(entry->isEnabled());
    // Without orbs the window says that the comparisons' points are the axes and four points.
    entry->trigger();
    QVERIFY(fx.form->timeline_window->isVisible());
    QCOMPARE(fx.form->timeline_window->OrbsLabel->text(), to_qt(texts::kTimelineNoOrbs));
}

void TimelineWindowTest::runFillsTheTableWithTheCoresHits()
{
    Opened o;
    QVERIFY(o.w->OrbsLabel->text().startsWith(to_qt(texts::kTimelineOrbsUsed)));
    QVERIFY(o.run());
    const Timeline expected = o.expected();
    QVERIFY(!expected.hits.empty());
    QCOMPARE(o.w->timeline().hits.size(), expected.hits.size());
    QCOMPARE(o.w->Table->model()->rowCount(), static_cast<int>(expected.hits.size()));
    QCOMPARE(o.w->Clusters->count(), static_cast<int>(expected.clusters.size()));
    // The rows in time order, each as the terminal writes it.
    for (const int row : {0, static_cast<int>(expected.hits.size()) - 1}) {
        const std::vector<std::string> fields = hit_fields(expected, expected.hits[static_cast<std::size_t>(row)]);
        for (int c = 0; c < 7; ++c) QCOMPARE(o.cell(row, c), QString::fromStdString(fields[static_cast<std::size_t>(c)]));
    }
    QCOMPARE(o.w->Table->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Ausl\u00F6ser"));
}

void TimelineWindowTest::filtersAndSortingShowTheChosenRows()
{
    Opened o;
    QVERIFY(o.run());
    const Timeline& t = o.w->timeline();
    const int all = o.w->Table->model()->rowCount();
    // One mover.
    const int jupiter = o.w->MoverFilter->findText(QStringLiteral("T:JU"));
    QVERIFY(jupiter > 0);
    o.w->MoverFilter->setCurrentIndex(jupiter);
    const auto shown = o.w->shown_hits();
    QVERIFY(!shown.empty() && static_cast<int>(shown.size()) < all);
    for (const std::size_t i : shown) QCOMPARE(mover_name(t.movers[t.hits[i].mover]), std::string("T:JU"));
    // Targets holding a text, and only those of the comparisons.
    o.w->MoverFilter->setCurrentIndex(0);
    o.w->TargetFilter->setText(QStringLiteral("mc1"));
    for (const std::size_t i : o.w->shown_hits())
        QVERIFY(QString::fromStdString(point_name(t.targets[t.hits[i].target].point)).contains(QStringLiteral("MC1")));
    o.w->TargetFilter->clear();
    o.w->OnlyErgebnis->setChecked(true);
    const auto in_ergebnis = o.w->shown_hits();
    QCOMPARE(static_cast<std::ptrdiff_t>(in_ergebnis.size()),
             std::count_if(t.hits.begin(), t.hits.end(), [](const Hit& h) { return h.ergebnis; }));
    o.w->OnlyErgebnis->setChecked(false);
    // The date column sorts by the instant, newest first when asked.
    o.w->Table->sortByColumn(0, Qt::DescendingOrder);
    const auto newest_first = o.w->shown_hits();
    QCOMPARE(newest_first.front(), t.hits.size() - 1);
    QCOMPARE(newest_first.back(), std::size_t{0});
    // The Winkel column sorts as numbers: 22,5 before 135.
    o.w->Table->sortByColumn(3, Qt::AscendingOrder);
    const auto by_angle = o.w->shown_hits();
    for (std::size_t k = 1; k < by_angle.size(); ++k) QVERIFY(t.hits[by_angle[k - 1]].angle <= t.hits[by_angle[k]].angle);
}

void TimelineWindowTest::refusesWhatCannotBeComputed()
{
    Opened o;
    o.fx.desktop.boxes.clear();
    const auto start_with = [&o](const char* from, const char* to) {
        o.w->FromEdit->setText(QString::fromLatin1(from));
        o.w->ToEdit->setText(QString::fromLatin1(to));
        o.w->StartButton->click();
        QVERIFY(!o.w->running());
    };
    start_with("31.02.2024", "31.03.2024");
    start_with("01.04.2024", "31.03.2024");
    o.w->PreciseTransits->setChecked(true);
    start_with("01.01.3001", "31.03.3001");
    o.w->PreciseTransits->setChecked(false);
    for (QCheckBox* box : {o.w->Arc1, o.w->Arc2, o.w->Transits}) box->setChecked(false);
    start_with("01.01.2024", "31.03.2024");
    for (QCheckBox* box : {o.w->Arc1, o.w->Arc2, o.w->Transits}) box->setChecked(true);
    o.w->TargetErgebnis->setChecked(false);
    start_with("01.01.2024", "31.03.2024");
    const auto texts = o.fx.desktop.take_texts();
    QCOMPARE(texts.size(), std::size_t{5});
    QCOMPARE(texts[0], std::string(texts::kTimelineBadDate));
    QCOMPARE(texts[1], std::string(texts::kTimelineReversed));
    QVERIFY(texts[2].find("1000") != std::string::npos && texts[2].find("3000") != std::string::npos);
    QCOMPARE(texts[3], std::string(texts::kTimelineNoMover));
    QCOMPARE(texts[4], std::string(texts::kTimelineNoTarget));
    QVERIFY(o.w->timeline().hits.empty());
}

void TimelineWindowTest::cancelStopsTheRun()
{
    Opened o;
    QVERIFY(o.run());
    const std::size_t before = o.w->timeline().hits.size();
    // A long run with the precise transits, stopped at once.
    o.w->PreciseTransits->setChecked(true);
    o.w->FromEdit->setText(QStringLiteral("01.01.1900"));
    o.w->ToEdit->setText(QStringLiteral("31.12.2099"));
    o.w->StartButton->click();
    QVERIFY(o.w->running());
    QVERIFY(!o.w->StartButton->isEnabled() && o.w->CancelButton->isVisible());
    o.w->CancelButton->click();
    QVERIFY(QTest::qWaitFor([&o] { return !o.w->running(); }, 20000));
    QCOMPARE(o.w->Status->text(), to_qt(texts::kTimelineCancelled));
    QCOMPARE(o.w->timeline().hits.size(), before);  // the last whole run stays
    // Escape closes the window and stops what runs.
    o.w->StartButton->click();
    QTest::keyClick(o.w, Qt::Key_Escape);
    QVERIFY(!o.w->isVisible());
    QVERIFY(QTest::qWaitFor([&o] { return !o.w->running(); }, 20000));
}

void TimelineWindowTest::exportsTheShownHits()
{
    Opened o;
    QVERIFY(o.run());
    o.w->MoverFilter->setCurrentIndex(o.w->MoverFilter->findText(QStringLiteral("T:SA")));
    const std::size_t shown = o.w->shown_hits().size();
    QVERIFY(shown > 0);
    const std::string csv = (o.fx.drive / "hits.csv").string();
    const std::string ics = (o.fx.drive / "hits.ics").string();
    o.fx.desktop.save_paths = {csv, ics, std::nullopt};
    o.w->CsvButton->click();
    o.w->IcsButton->click();
    o.w->CsvButton->click();  // cancelled: nothing happens
    const std::string csv_bytes = slurp(csv);
    QVERIFY(csv_bytes.starts_with("Datum,Zeit,Ausl\xC3\xB6ser,Winkel,Ziel,Richtung,Ergebnis\r\n"));
    QCOMPARE(static_cast<std::size_t>(std::count(csv_bytes.begin(), csv_bytes.end(), '\n')), shown + 1);
    QVERIFY(csv_bytes.find(",T:SA,") != std::string::npos && csv_bytes.find(",T:JU,") == std::string::npos);
    const std::string ics_bytes = slurp(ics);
    QVERIFY(ics_bytes.starts_with("BEGIN:VCALENDAR\r\n"));
    std::size_t events = 0;
    for (std::size_t at = ics_bytes.find("BEGIN:VEVENT"); at != std::string::npos; at = ics_bytes.find("BEGIN:VEVENT", at + 1))
        ++events;
    QCOMPARE(events, shown);
    QVERIFY(o.fx.desktop.boxes.empty());
}

void TimelineWindowTest::chosenRowTurnsTheDial()
{
    Opened o;
    QVERIFY(o.run());
    o.fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* dial = dial_window_of(*o.fx.form);
    QVERIFY(dial != nullptr && dial->isVisible());
    const Timeline& t = o.w->timeline();
    for (const int row : {3, 10}) {
        o.w->Table->selectRow(row);
        const Hit& hit = t.hits[*o.w->hit_of_row(row)];
        // The dial keeps the target's longitude, so that another dial size shows the target too.
        const double longitude = point_longitude(t.targets[hit.target].point, o.fx.form->chart.pos1, o.fx.form->chart.pos2);
        QCOMPARE(dial->longitude(), longitude);
        QVERIFY(std::fabs(dial->pointer() - mod225(longitude)) < 1e-9);
    }
}

QTEST_MAIN(TimelineWindowTest)
#include "timeline_window_test.moc"
