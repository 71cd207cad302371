// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Grafische Ephemeride": usable with both persons, drawn in the background as the core
// draws it, a click that turns the dial's pointer and chooses the nearest hit in "Auslösungen",
// and the pictures saved.
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <cmath>

#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "desktop/desktop_texts.h"
#include "desktop/dial_window.h"
#include "desktop/ephemeris_window.h"
#include "desktop/timeline_window.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

struct Drawn {
    Fixture fx;
    EphemerisWindow* w = nullptr;

    /// Both persons and the orbs; the first quarter of 2024 drawn.
    Drawn()
    {
        fx.ready();
        w = fx.form->ephemeris_window;
        w->FromEdit->setText(QStringLiteral("01.01.2024"));
        w->ToEdit->setText(QStringLiteral("31.03.2024"));
        w->Ephemeride1->trigger();  // draws at once: the pair is new to the window
    }
    bool finished() { return QTest::qWaitFor([this] { return !w->running(); }, 60000) && w->ephemeris() != nullptr; }
    void click(double t, double y)
    {
        QTest::mouseClick(w->canvas_, Qt::LeftButton, {}, w->canvas_->point_of(t, y).toPoint());
    }
};

}  // namespace

class EphemerisWindowTest : public QObject {
    Q_OBJECT
private slots:
    void entryIsUsableOnceBothPersonsAreLoaded();
    void drawsWhatTheCoreDraws();
    void clickTurnsTheDialsPointer();
    void clickOnAHitChoosesItInTheHitsWindow();
    void savesThePictures();
};

void EphemerisWindowTest::entryIsUsableOnceBothPersonsAreLoaded()
{
    Fixture fx;
    fx.start();
    QAction* entry = fx.form->ephemeris_window->Ephemeride1;
    QVERIFY(fx.form->Extras1->actions().contains(entry));
    QCOMPARE(entry->text(), to_qt(texts::kMenuEphemeris));
    QVERIFY(!entry->isEnabled());
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(!entry->isEnabled());
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(entry->isEnabled());
}

void EphemerisWindowTest::drawsWhatTheCoreDraws()
{
    Drawn d;
    QVERIFY(d.finished());
    TimelineRequest r = ephemeris_request(julian_day(*parse_date("01.01.2024")), julian_day(*parse_date("31.03.2024")) + 1);
    r.orbs = d.fx.form->orbs;
    const Ephemeris expected = compute_ephemeris(d.fx.form->chart, r, 22.5);
    const Ephemeris& drawn = *d.w->ephemeris();
    QCOMPARE(drawn.hits.size(), expected.hits.size());
    QCOMPARE(drawn.lines.size(), expected.lines.size());
    QCOMPARE(drawn.curves.size(), expected.curves.size());
    // A screen reader finds every line, curve and hit as a named child of the picture.
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(d.w->canvas_);
    QVERIFY(picture != nullptr);
    QCOMPARE(picture->childCount(), static_cast<int>(drawn.lines.size() + drawn.curves.size() + drawn.hits.size()));
    const std::pair<std::size_t, const char*> firsts[] = {
        {0, "Linie "}, {drawn.lines.size(), "Kurve "}, {drawn.lines.size() + drawn.curves.size(), "Treffer "}};
    for (const auto& [index, start] : firsts) {
        const QString name = picture->child(static_cast<int>(index))->text(QAccessible::Name);
        QVERIFY2(name.startsWith(QString::fromUtf8(start)) && name.size() > 12, qPrintable(name));
    }
    QVERIFY(picture->child(picture->childCount() - 1)->text(QAccessible::Name).contains(QStringLiteral(" UT: ")));
    // Another dial size draws anew.
    d.w->ModulusChoice->setCurrentIndex(d.w->ModulusChoice->findData(90.0));
    d.w->StartButton->click();
    QVERIFY(d.finished());
    QCOMPARE(d.w->ephemeris()->modulus, 90.0);
}

void EphemerisWindowTest::clickTurnsTheDialsPointer()
{
    Drawn d;
    QVERIFY(d.finished());
    d.fx.form->Extras1->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* dial = dial_window_of(*d.fx.form);
    QVERIFY(dial != nullptr);
    const Ephemeris& e = *d.w->ephemeris();
    const double middle = (e.from + e.to) / 2;
    // Away from every hit the pointer goes to the dial position clicked (to a pixel's height).
    for (const double y : {3.0, 11.25, 20.0}) {
        double clear = middle;
        while (clear < e.to - 3 && nearest_drawn_hit(e, clear, y) && std::abs(e.hits[*nearest_drawn_hit(e, clear, y)].t - clear) < 3) clear += 3;
        d.click(clear, y);
        QVERIFY2(std::abs(dial->pointer() - y) < 0.1, qPrintable(QString::number(dial->pointer())));
    }
    // On a hit the pointer goes to its line exactly.
    const EphemerisHit& hit = e.hits[e.hits.size() / 2];
    d.click(hit.t, hit.y);
    QVERIFY(d.w->canvas_->selected.has_value());
    QVERIFY2(std::abs(dial->pointer() - hit.y) < 1e-6, qPrintable(QString::number(dial->pointer() - hit.y)));
    // The dial's third ring stands at the hit's instant.
    QVERIFY(dial->instant().has_value());
    QVERIFY2(std::abs(*dial->instant() - hit.t) < 1e-6, qPrintable(QString::number(*dial->instant() - hit.t)));
}

void EphemerisWindowTest::clickOnAHitChoosesItInTheHitsWindow()
{
    Drawn d;
    QVERIFY(d.finished());
    TimelineWindow* hits = d.fx.form->timeline_window;
    hits->Ausloesungen1->trigger();
    hits->FromEdit->setText(QStringLiteral("01.01.2024"));
    hits->ToEdit->setText(QStringLiteral("31.03.2024"));
    hits->StartButton->click();
    QVERIFY(QTest::qWaitFor([hits] { return !hits->running(); }, 60000));
    const Ephemeris& e = *d.w->ephemeris();
    for (const std::size_t i : {std::size_t{0}, e.hits.size() - 1}) {
        const EphemerisHit& drawn = e.hits[i];
        d.click(drawn.t, drawn.y);
        const std::optional<std::size_t> row = hits->hit_of_row(hits->Table->currentIndex().row());
        QVERIFY(row.has_value());
        const Hit& chosen = hits->timeline().hits[*row];
        QVERIFY(std::abs(chosen.instant - drawn.t) < 1.0 / 1440);
        QCOMPARE(point_name(hits->timeline().targets[chosen.target].point), e.lines[drawn.line].label);
    }
}

void EphemerisWindowTest::savesThePictures()
{
    Drawn d;
    QVERIFY(d.finished());
    for (const char* name : {"e.png", "e.svg", "e.pdf"}) {
        const std::string path = d.fx.dir.filePath(QString::fromLatin1(name)).toStdString();
        d.fx.desktop.save_paths.push_back(path);
        QPushButton* button = name[2] == 'p' && name[3] == 'n' ? d.w->PngButton
                              : name[2] == 's'                 ? d.w->SvgButton
                                                               : d.w->PdfButton;
        button->click();
        QVERIFY2(QFileInfo(QString::fromStdString(path)).size() > 1000, name);
    }
}

QTEST_MAIN(EphemerisWindowTest)
#include "ephemeris_window_test.moc"
