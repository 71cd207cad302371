// SPDX-License-Identifier: GPL-3.0-or-later
// Extras "Genaue Positionen": the check mark, what switching recomputes and shows, the captions,
// the remembered setting and the lock while the half-sum evaluation waits.
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "app/dial.h"
#include "base/texts.h"
#include "fixture.h"
#include "precise/precise_positions.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

QString q(std::string_view cp1252) { return to_qt(cp1252); }

void remember(bool precise)
{
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
        .setValue(QStringLiteral("Extras/GenauePositionen"), precise);
}

bool remembered()
{
    return QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
        .value(QStringLiteral("Extras/GenauePositionen"), false)
        .toBool();
}

std::vector<bool> menu_states(const TForm1& f)
{
    return {f.name1->isEnabled(), f.name2->isEnabled(), f.Solar1->isEnabled(),
            f.mcmc1->menuAction()->isEnabled(), f.Halbsummen1->isEnabled(), f.asas1->isEnabled(),
            f.Ende1->isEnabled()};
}

/// What the main window shows and holds of both persons.
struct Shown {
    Positions pos1, pos2, positions;
    std::array<double, 6> axes;
    QString memo;
    bool operator==(const Shown&) const = default;
};

Shown shown(const TForm1& f)
{
    return {f.chart.pos1, f.chart.pos2, f.chart.positions, f.chart.axes.axis_value, f.Memo1->toPlainText()};
}

/// What a load of both persons with `source` holds and shows.
Shown loaded_with(const TForm1& f, PositionSource source)
{
    ChartState c;
    c.pos1 = chart_positions(werte_aktual(f.chart.person1), source);
    c.pos2 = chart_positions(werte_aktual(f.chart.person2), source);
    form_search_axes(c.pos1, c.pos2, c.axes);
    QStringList lines;
    for (const std::string& line : search_axis_lines(c.pos1, c.pos2, c.axes)) lines << to_qt(line);
    return {c.pos1, c.pos2, c.pos2, c.axes.axis_value, lines.join(QLatin1Char('\n'))};
}

}  // namespace

class PrecisePositionsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { remember(false); }
    void cleanup() { remember(false); }
    void entryIsAnUncheckedMarkInExtras();
    void switchingRecomputesBothPersonsAndMarksTheCaptions();
    void theChoiceIsRememberedForTheNextRun();
    void theEntryWaitsWithTheHalfsumEvaluation();
};

void PrecisePositionsTest::entryIsAnUncheckedMarkInExtras()
{
    Fixture fx;
    fx.start();
    TForm1& f = *fx.form;
    QVERIFY(f.Extras1->actions().contains(f.GenauePositionen1));
    QCOMPARE(f.GenauePositionen1->text(), q(texts::kMenuGenauePositionen1));
    QVERIFY(f.GenauePositionen1->isCheckable());
    QVERIFY(!f.GenauePositionen1->isChecked());
    QVERIFY(f.GenauePositionen1->isEnabled());
    QVERIFY(f.GenauePositionen1->toolTip().contains(QStringLiteral("1885 bis 2099")));
    QCOMPARE(f.windowTitle(), q(texts::kCaptionMain));
    QVERIFY(f.position_source() == PositionSource::theory);
}

void PrecisePositionsTest::switchingRecomputesBothPersonsAndMarksTheCaptions()
{
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    const Shown theory = shown(f);
    QVERIFY(theory == loaded_with(f, PositionSource::theory));
    const std::vector<bool> states = menu_states(f);

    f.GenauePositionen1->trigger();
    QVERIFY(f.GenauePositionen1->isChecked());
    QVERIFY(remembered());
    QCOMPARE(f.windowTitle(), q(texts::kCaptionMain) + q(texts::kCaptionPreciseSuffix));
    QVERIFY(shown(f) == loaded_with(f, PositionSource::precise));
    QVERIFY(shown(f).pos2 != theory.pos2);
    QVERIFY(menu_states(f) == states);
    QVERIFY(fx.desktop.boxes.empty());

    // A comparison now runs on the precise positions and says so in its caption.
    QString caption;
    QVERIFY(while_modal(f.Form2, [&] { f.Solar1->trigger(); }, [&] { caption = f.Form2->windowTitle(); }));
    FirstTimeFlags scratch = f.flags;
    const QString solar_caption = q(solar_axes(f.chart, f.orbs, scratch).caption);
    QCOMPARE(caption, solar_caption + q(texts::kCaptionPreciseSuffix));

    // Off again: everything as the loads left it.
    f.GenauePositionen1->trigger();
    QVERIFY(!f.GenauePositionen1->isChecked());
    QVERIFY(!remembered());
    QCOMPARE(f.windowTitle(), q(texts::kCaptionMain));
    QVERIFY(shown(f) == theory);
    QVERIFY(while_modal(f.Form2, [&] { f.Solar1->trigger(); }, [&] { caption = f.Form2->windowTitle(); }));
    QCOMPARE(caption, solar_caption);
}

void PrecisePositionsTest::theChoiceIsRememberedForTheNextRun()
{
    remember(true);
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    QVERIFY(f.GenauePositionen1->isChecked());
    QCOMPARE(f.windowTitle(), q(texts::kCaptionMain) + q(texts::kCaptionPreciseSuffix));
    QVERIFY(shown(f) == loaded_with(f, PositionSource::precise));
}

void PrecisePositionsTest::theEntryWaitsWithTheHalfsumEvaluation()
{
    Fixture fx;
    fx.ready();
    TForm1& f = *fx.form;
    QVERIFY(while_modal(f.Form2, [&] { f.einfache1->trigger(); }, [] {}));
    const HalfsumCount theory_count = f.halfsum_count;
    // Switching counts the simple complements again for the evaluation.
    f.GenauePositionen1->trigger();
    HalfsumCount expected{};
    FirstTimeFlags scratch;
    simple_complements(f.chart, f.orbs, scratch, expected);
    QVERIFY(f.halfsum_count == expected);
    f.GenauePositionen1->trigger();
    QVERIFY(f.halfsum_count == theory_count);
    fx.desktop.boxes.clear();

    bool locked = false;
    bool unchanged = false;
    QTimer::singleShot(0, &f, [&] {
        locked = f.waiting_for_halfsum_orb() && !f.GenauePositionen1->isEnabled();
        f.GenauePositionen1Click();  // a stray call while waiting changes nothing
        unchanged = f.position_source() == PositionSource::theory && !f.GenauePositionen1->isChecked();
        QTimer::singleShot(0, f.Form2, [&] { f.Form2->accept(); });
        QTest::keyClicks(f.Edit3, QStringLiteral("0,3"));
    });
    f.Halbsummen1->trigger();
    QVERIFY(locked);
    QVERIFY(unchanged);
    QVERIFY(f.GenauePositionen1->isEnabled());
}

QTEST_MAIN(PrecisePositionsTest)
#include "precise_positions_test.moc"
