// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Scheibe": its menu entry follows the loads, the pointer moves by keys, mouse and
// wheel and lists what stands on it, the current result entry turns the pointer to its axis, and
// the picture is saved and printed.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QDir>
#include <QTest>
#include <QTreeWidget>
#include <QListWidget>
#include <cmath>

#include "analysis/comparisons.h"
#include "app/dial.h"
#include "astro/un_math.h"
#include "base/texts.h"
#include "desktop/dial_window.h"
#include "dialview/midpoints.h"
#include "results/click.h"
#include "timeline/ring.h"
#include "astro/calendar.h"
#include <QCheckBox>
#include <QLineEdit>
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

QAction* dial_action(TForm1& form) { return form.Extras1->findChild<QAction*>(QStringLiteral("Scheibe1")); }

QString pdf_text(const std::string& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QString::fromStdString(path), QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000)) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

std::string slurp(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

// The rows of the tree beside the dial: the pointer, under it each factor with the midpoints equal
// to it, then the midpoints equal to none; the names as the pair's points are written.
void expect_tree(DialWindow& dial, const PointerTree& expected)
{
    QCOMPARE(dial.tree().factors.size(), expected.factors.size());
    QCOMPARE(dial.tree().midpoints.size(), expected.midpoints.size());
    QCOMPARE(dial.PointerList->topLevelItemCount(), 1);
    const QTreeWidgetItem* root = dial.PointerList->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("Zeiger"));
    QCOMPARE(root->text(1), to_qt(pointer_text(expected.pointer, expected.modulus)));
    QCOMPARE(root->childCount(), static_cast<int>(expected.factors.size() + expected.midpoints.size()));
    const auto same = [](const QTreeWidgetItem* row, const DialItem& item) {
        QCOMPARE(row->text(0), to_qt(point_name(item.point)));
        QCOMPARE(row->text(2), to_qt(angle_text(2, 1, item.distance)));
        QCOMPARE(row->text(3), to_qt(position_text(item.longitude)));
    };
    for (std::size_t i = 0; i < expected.factors.size(); ++i) {
        const QTreeWidgetItem* factor = root->child(static_cast<int>(i));
        same(factor, expected.factors[i].factor);
        QCOMPARE(factor->childCount(), static_cast<int>(expected.factors[i].midpoints.size()));
        for (std::size_t k = 0; k < expected.factors[i].midpoints.size(); ++k)
            same(factor->child(static_cast<int>(k)), expected.factors[i].midpoints[k]);
    }
    for (std::size_t i = 0; i < expected.midpoints.size(); ++i)
        same(root->child(static_cast<int>(expected.factors.size() + i)), expected.midpoints[i]);
}

// Opens the dial window through the menu and waits until it is on the screen.
DialWindow* open_dial(TForm1& form)
{
    dial_action(form)->trigger();
    DialWindow* window = dial_window_of(form);
    if (window != nullptr) (void)QTest::qWaitForWindowExposed(window);
    return window;
}

}  // namespace

class DialWindowTest : public QObject {
    Q_OBJECT
private slots:
    void entryFollowsLoadsAndRestarts();
    void pointerKeysMouseAndWheel();
    void currentResultEntryTurnsThePointer();
    void dialSizesKeepOneLongitude();
    void thirdRingAtAnInstant();
    void savesAndPrintsThePicture();
};

void DialWindowTest::entryFollowsLoadsAndRestarts()
{
    Fixture fx;
    fx.start();
    TForm1& form = *fx.form;
    QAction* action = dial_action(form);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), to_qt(texts::kMenuDial));
    QVERIFY(!action->isEnabled());

    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(action->isEnabled());
    DialWindow* dial = open_dial(form);
    QVERIFY(dial != nullptr && dial->isVisible());
    QCOMPARE(dial->scene().pos1, form.chart.pos1);
    QVERIFY(!dial->scene().pos2);
    QVERIFY(dial->scene().legend1.contains(QStringLiteral("Hans Meier")));

    // Person 2 appears as soon as it is loaded.
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(dial->scene().pos2.has_value());
    QCOMPARE(*dial->scene().pos2, form.chart.pos2);

    // A restart takes both persons off the dial and the entry out of reach until person 1 is back.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    fx.type_orbs("1,0", "0,5");
    QVERIFY(form.Ende1->isEnabled());
    fx.desktop.answers.push_back(Answer::yes);
    form.Ende1->trigger();
    QVERIFY(!action->isEnabled());
    QVERIFY(std::isnan(dial->scene().pos1[0]));
    QVERIFY(!dial->scene().pos2);
    QVERIFY(dial->tree().empty());
    fx.load1(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(action->isEnabled());
    QCOMPARE(dial->scene().pos1, form.chart.pos1);
    dial->close();
}

void DialWindowTest::pointerKeysMouseAndWheel()
{
    Fixture fx;
    fx.ready();
    DialWindow* dial = open_dial(*fx.form);
    QVERIFY(dial != nullptr);
    DialCanvas* canvas = dial->canvas();
    dial->set_pointer(0);
    canvas->setFocus();

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double pointer;  // after the key
    };
    const std::vector<Step> steps = {
        {Qt::Key_Right, {}, 0.01},
        {Qt::Key_Right, Qt::ShiftModifier, 0.26},
        {Qt::Key_Up, {}, 0.27},
        {Qt::Key_Left, Qt::ShiftModifier, 0.02},
        {Qt::Key_Down, {}, 0.01},
        {Qt::Key_Down, {}, 0.0},
        {Qt::Key_Down, {}, 22.49},  // across the seam
        {Qt::Key_Up, {}, 0.0},
    };
    for (const Step& s : steps) {
        QTest::keyClick(canvas, s.key, s.modifiers);
        QVERIFY2(std::fabs(dial->pointer() - s.pointer) < 1e-9,
                 qPrintable(QStringLiteral("%1 after a key, expected %2").arg(dial->pointer()).arg(s.pointer)));
    }

    // A click at the left edge of the dial: a quarter turn counter-clockwise from the top.
    const QPoint left(canvas->width() / 2 - canvas->height() / 3, canvas->height() / 2);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, left);
    QVERIFY(std::fabs(dial->pointer() - 5.625) < 1e-9);

    // The wheel: one notch up is a tenth of a degree on.
    QWheelEvent wheel(QPointF(left), canvas->mapToGlobal(QPointF(left)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    QVERIFY(std::fabs(dial->pointer() - 5.725) < 1e-9);

    // The tree holds exactly what stands within the simple orb (0,5): the pointer, the factors on
    // it, under each the midpoints equal to it, then the midpoints equal to none of them.
    QCOMPARE(fx.form->orbs.orb_simple, 0.5);
    for (double pointer : {0.0, 3.3, 11.0, 17.9}) {
        dial->set_pointer(pointer);
        expect_tree(*dial, pointer_tree(fx.form->chart.pos1, &fx.form->chart.pos2, pointer,
                                        fx.form->orbs.orb_simple, 22.5));
    }
    dial->close();
}

void DialWindowTest::currentResultEntryTurnsThePointer()
{
    Fixture fx;
    fx.ready();
    TForm1& form = *fx.form;
    DialWindow* dial = open_dial(form);
    QVERIFY(dial != nullptr);

    ResultText result;
    result.caption = "Ergebnisse";
    result.lines = {"Zeile"};
    // The solar axis joins both Suns; the second entry has no charts given: person 1's.
    result.add_entry("SO/SO=VE/MA", {1, 2, 2, 2});
    result.add_entry("MC/JU=ME/NE", {1, 1, 1, 1});
    result.entries.push_back("MC/SA=SO/MO");
    QVERIFY(show_result(*form.Form2, result));
    QListWidget* list = form.Form2->ListBox1;

    const Positions& p1 = form.chart.pos1;
    const Positions& p2 = form.chart.pos2;
    struct Expect {
        double axis;
        std::vector<std::uint8_t> bodies;
    };
    const std::vector<Expect> expected = {
        {mod225((p1[2] + p2[2]) / 2), {2, 7, 8}},
        {mod225((p1[0] + p1[9]) / 2), {0, 9, 6, 12}},
        {mod225((p1[0] + p1[10]) / 2), {0, 10, 2, 4}},
    };
    // The keys make the entries current one after the other, without a click.
    list->setFocus();
    for (std::size_t row = 0; row < expected.size(); ++row) {
        QTest::keyClick(list, row == 0 ? Qt::Key_Home : Qt::Key_Down);
        QCOMPARE(list->currentRow(), static_cast<int>(row));
        QVERIFY(std::fabs(dial->pointer() - expected[row].axis) < 1e-12);
        int marked = 0;
        for (bool m : dial->scene().highlighted) marked += m ? 1 : 0;
        QCOMPARE(marked, static_cast<int>(expected[row].bodies.size()));
        for (std::uint8_t body : expected[row].bodies) QVERIFY(dial->scene().highlighted[body]);
        QCOMPARE(dial->scene().arcs.size(), std::size_t{2});
    }
    QCOMPARE(dial->scene().arcs[0].second.body, std::uint8_t{10});
    QVERIFY(fx.desktop.boxes.empty());  // the keys show no text boxes

    // A click still shows the entry's text, as it always did, and turns the dial too.
    const QRect first = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    const auto boxes = click_display(result.entries[0], form.ktexte, DriveC(fx.drive));
    QCOMPARE(fx.desktop.boxes.size(), boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) QCOMPARE(fx.desktop.boxes[i].text, boxes[i].text);
    QVERIFY(std::fabs(dial->pointer() - expected[0].axis) < 1e-12);
    QCOMPARE(dial->scene().arcs[0].second.person, std::uint8_t{2});  // SO of person 2

    // The next comparison empties the list: the picture goes, the pointer stays.
    const double pointer = dial->pointer();
    form.Form2->fill(ResultText{});
    QVERIFY(dial->scene().arcs.empty());
    QCOMPARE(dial->pointer(), pointer);
    form.Form2->hide();
    dial->close();
}

// The third ring: off when the window opens (the picture as before), at an instant set from outside
// or typed, its movers where ring_points puts them, and counted by the tree.
void DialWindowTest::thirdRingAtAnInstant()
{
    Fixture fx;
    fx.ready();
    DialWindow* dial = open_dial(*fx.form);
    QVERIFY(dial != nullptr);
    QVERIFY(!dial->instant());
    QVERIFY(dial->scene().movers.empty());
    QCOMPARE(dial->TimeEdit->text(), QStringLiteral("12:00"));

    const double at = chart_julian_day0(2024, 6, 15) + 14.5 / 24;
    dial->set_instant(at);
    QCOMPARE(dial->instant(), std::optional<double>(at));
    QVERIFY(dial->ShowMovers->isChecked());
    QCOMPARE(dial->DateEdit->text(), QStringLiteral("15.06.2024"));
    QCOMPARE(dial->TimeEdit->text(), QStringLiteral("14:30"));
    const std::vector<MovingPoint> ring = ring_points(fx.form->chart, ring_request(), at);
    QCOMPARE(dial->scene().movers.size(), ring.size());
    for (std::size_t i = 0; i < ring.size(); ++i) {
        QCOMPARE(dial->scene().movers[i].name, ring[i].name);
        QCOMPARE(dial->scene().movers[i].longitude, ring[i].longitude);
    }
    QCOMPARE(dial->scene().legend_movers, QString::fromUtf8("Ausl\u00F6ser 15.06.2024 14:30 UT"));

    // The pointer on a mover: the tree shows it as a branch, as pointer_tree counts it.
    dial->set_longitude(ring.back().longitude);
    const PointerTree expected = pointer_tree(dial->scene().pos1, &*dial->scene().pos2, dial->pointer(),
                                              dial->list_orb(), dial->modulus(), ring);
    QCOMPARE(dial->tree().factors.size(), expected.factors.size());
    bool shown = false;
    const QTreeWidgetItem* root = dial->PointerList->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) shown = shown || root->child(i)->text(0) == QString::fromStdString(ring.back().name);
    QVERIFY(shown);

    // Other movers: only person 1's solar arcs.
    TimelineRequest only1 = ring_request();
    only1.arc2 = only1.transits = false;
    dial->set_movers(only1);
    for (const MovingPoint& m : dial->scene().movers) QVERIFY(m.name.starts_with("SB1:"));
    QVERIFY(!dial->scene().movers.empty());

    // A date that cannot be read takes the ring away and says what to type; a good one brings it back.
    QTest::keyClick(dial->DateEdit, Qt::Key_Backspace);
    QTest::keyClicks(dial->DateEdit, QStringLiteral("x"));
    QVERIFY(!dial->instant());
    QVERIFY(dial->scene().movers.empty());
    QVERIFY(dial->InstantProblem->isVisibleTo(dial));
    dial->DateEdit->clear();
    QTest::keyClicks(dial->DateEdit, QStringLiteral("1.1.2030"));
    QVERIFY(dial->instant().has_value());
    QVERIFY(std::fabs(*dial->instant() - (chart_julian_day0(2030, 1, 1) + 14.5 / 24)) < 1e-9);
    QVERIFY(!dial->InstantProblem->isVisibleTo(dial));
    QVERIFY(!dial->scene().movers.empty());

    // Switched off: the dial as without an instant.
    dial->ShowMovers->setChecked(false);
    QVERIFY(!dial->instant());
    QVERIFY(dial->scene().movers.empty());
    QVERIFY(dial->scene().legend_movers.isEmpty());
    dial->close();
}

// The pointer rule: the window keeps the longitude last set and shows it on the dial chosen; a move
// on any dial shifts that longitude by the move.
void DialWindowTest::dialSizesKeepOneLongitude()
{
    Fixture fx;
    fx.ready();
    DialWindow* dial = open_dial(*fx.form);
    QVERIFY(dial != nullptr);
    QComboBox* sizes = dial->ModulusChoice;
    QCOMPARE(sizes->currentText(), QStringLiteral("22,5\u00B0"));  // the default

    const auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    const auto choose = [&](const QString& text) {
        sizes->setCurrentIndex(sizes->findText(text));
        QCOMPARE(dial->scene().modulus, dial->modulus());
    };
    dial->set_longitude(123.4);
    QVERIFY(near(dial->pointer(), 10.9));
    struct Size {
        QString text;
        double modulus;
        double pointer;  // of the longitude 123.4
    };
    const std::vector<Size> cases = {{QStringLiteral("360\u00B0"), 360, 123.4},
                                     {QStringLiteral("90\u00B0"), 90, 33.4},
                                     {QStringLiteral("45\u00B0"), 45, 33.4},
                                     {QStringLiteral("11,25\u00B0"), 11.25, 10.9},
                                     {QStringLiteral("22,5\u00B0"), 22.5, 10.9}};
    for (const Size& c : cases) {
        choose(c.text);
        QCOMPARE(dial->modulus(), c.modulus);
        QVERIFY2(near(dial->pointer(), c.pointer), qPrintable(c.text));
        QCOMPARE(dial->longitude(), 123.4);
        // The tree is measured on the dial shown.
        expect_tree(*dial, pointer_tree(fx.form->chart.pos1, &fx.form->chart.pos2, c.pointer, 0.5, c.modulus));
        QVERIFY(dial->PointerHeading->text().contains(to_qt(pointer_text(dial->pointer(), c.modulus))));
    }

    // The keyboard chooses too: from 22,5 one up is 45.
    sizes->setFocus();
    QTest::keyClick(sizes, Qt::Key_Up);
    QCOMPARE(dial->modulus(), 45.0);
    choose(QStringLiteral("22,5\u00B0"));

    // Moves on the small dial shift the longitude: a quarter degree on, then a click at the left
    // (5,625 on the 22.5 dial), 5,525 back the short way.
    DialCanvas* canvas = dial->canvas();
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(near(dial->longitude(), 123.65));
    const QPoint left(canvas->width() / 2 - canvas->height() / 3, canvas->height() / 2);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, left);
    QVERIFY(near(dial->pointer(), 5.625));
    QVERIFY(near(dial->longitude(), 118.125));
    choose(QStringLiteral("360\u00B0"));
    QVERIFY(near(dial->pointer(), 118.125));
    // On the 360-degree dial the same click is the longitude 90 itself.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, left);
    QVERIFY(near(dial->longitude(), 90));
    choose(QStringLiteral("22,5\u00B0"));
    QVERIFY(near(dial->pointer(), 0));
    // Across the seam and round the zodiac: 359.9 on, a quarter degree, is 0.15.
    dial->set_longitude(359.9);
    QTest::keyClick(canvas, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(near(dial->longitude(), 0.15));
    QVERIFY(near(dial->pointer(), 0.15));

    // A result entry on the 360-degree dial: the pointer at the nearer point of its axis SO1/SO2.
    const Positions& p1 = fx.form->chart.pos1;
    const Positions& p2 = fx.form->chart.pos2;
    choose(QStringLiteral("360\u00B0"));
    dial->show_entry("SO/SO=VE/MA", {1, 2, 2, 2});
    QVERIFY(near(dial->pointer(), nearer_midpoint(p1[2], p2[2])));
    QCOMPARE(dial->scene().arcs.size(), std::size_t{2});
    choose(QStringLiteral("22,5\u00B0"));
    QVERIFY(near(dial->pointer(), mod225((p1[2] + p2[2]) / 2)));
    dial->close();
}

void DialWindowTest::savesAndPrintsThePicture()
{
    Fixture fx;
    fx.ready();
    DialWindow* dial = open_dial(*fx.form);
    QVERIFY(dial != nullptr);
    dial->set_pointer(7.5);

    const std::string png = (fx.drive / "scheibe.png").string();
    const std::string svg = (fx.drive / "scheibe.svg").string();
    dial->choose_file = [&](const QString&, const QString& filter, const QString&) -> std::optional<std::string> {
        return filter.contains(QStringLiteral("svg")) ? svg : png;
    };
    // Pictures start in the documents folder (or home), never among the charts; later in the
    // folder of the last picture.
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop")).remove(QStringLiteral("Scheibe/Bilderordner"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString first = dial_picture_folder();
    QVERIFY2(first == documents || first == QDir::homePath(), qPrintable(first));
    QVERIFY(!first.contains(QStringLiteral("daten")));
    QTest::mouseClick(dial->SavePng, Qt::LeftButton);
    QTest::mouseClick(dial->SaveSvg, Qt::LeftButton);
    QVERIFY(fx.desktop.boxes.empty());
    QCOMPARE(dial_picture_folder(), QString::fromStdString(fx.drive.string()));
    QVERIFY(slurp(png).starts_with("\x89PNG\r\n"));
    const QImage image(QString::fromStdString(png));
    QVERIFY(image.width() >= 800 && image.width() == image.height());
    const std::string svg_text = slurp(svg);
    QVERIFY(svg_text.find(">MC</text>") != std::string::npos);
    QVERIFY(svg_text.find(">07\xC2\xB0" "30'</text>") != std::string::npos);  // the pointer

    // A folder that does not exist: an error box, nothing written.
    QVERIFY(!dial->save_png((fx.drive / "fehlt" / "x.png").string()));
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].type == BoxType::error);

    // The printout carries both persons' names and birth data above the dial.
    const std::string pdf = (fx.drive / "scheibe.pdf").string();
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setResolution(300);
        dial->print_to(writer);
    }
    const QString text = pdf_text(pdf);
    QVERIFY2(text.contains(QStringLiteral("Person 1: Hans Meier, geb. 01.05.1960, 06:30:45")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Person 2: Erika Schulz")));
    QVERIFY(text.contains(QStringLiteral("Zeiger: 07\u00B030'")));
    dial->close();
}

QTEST_MAIN(DialWindowTest)
#include "dial_window_test.moc"
