// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds: every object of every window that can take the keyboard has a name,
// the result window's report and list read as text, and the dial reads as a dial whose value is
// the pointer and whose children are the factors of its rings.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "desktop/dial_window.h"
#include "desktop/drive_dialog.h"
#include "desktop/help_window.h"
#include "desktop/kartei_dialog.h"
#include "desktop/kartei_window.h"
#include "desktop/qt_desktop.h"
#include "desktop/timeline_window.h"
#include "desktop/zeitprobe.h"
#include "desktop/ranking_window.h"
#include "desktop/report_dialog.h"
#include "desktop/textlib_window.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

/// Every object under `object` that can take the keyboard and has no name, as role, object name
/// and class. The items of lists, tables and trees speak with their own texts and are not walked.
QStringList unnamed_focusable(QAccessibleInterface* object, int depth = 0)
{
    QStringList found;
    if (object == nullptr || depth > 50) return found;
    if (object->state().focusable && object->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* o = object->object();
        found << QStringLiteral("role %1 %2 (%3)")
                     .arg(static_cast<int>(object->role()))
                     .arg(o != nullptr ? o->objectName() : QStringLiteral("?"))
                     .arg(QString::fromLatin1(o != nullptr ? o->metaObject()->className() : ""));
    }
    const QAccessible::Role role = object->role();
    if (role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree) return found;
    for (int i = 0; i < object->childCount(); ++i) found << unnamed_focusable(object->child(i), depth + 1);
    return found;
}

QStringList unnamed_in(QWidget* window) { return unnamed_focusable(QAccessible::queryAccessibleInterface(window)); }

ResultText sample_result()
{
    ResultText r;
    r.analysis_title = "MC-AS-Achsen (einf.)";
    r.caption = "     Ergebnisse  MC-AS-Achsen, einfache";
    r.lines = {"  Hans Meier,   Erika Schulz", "", "MC/JU = AS/MO"};
    r.entries = {"MC/JU=AS/MO", "MC/JU=VE/MA"};
    return r;
}

/// The events a screen reader would have been sent, as type and (for a value change) value.
std::vector<std::pair<QAccessible::Event, double>> caught_events;
void catch_event(QAccessibleEvent* event)
{
    const double value = event->type() == QAccessible::ValueChanged
                             ? static_cast<QAccessibleValueChangeEvent*>(event)->value().toDouble()
                             : 0;
    caught_events.emplace_back(event->type(), value);
}

/// Runs `trigger`, which shows a modal dialog, and takes the unnamed objects of that dialog
/// before it is closed; "no dialog" when none came.
QStringList unnamed_in_modal(const std::function<void()>& trigger)
{
    QStringList unnamed{QStringLiteral("no dialog")};
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) return;
        unnamed = unnamed_in(dialog);
        dialog->close();
    });
    trigger();
    QApplication::processEvents();
    return unnamed;
}

/// The main window with the sample drive's Albrecht and Hollmann and the dial window open.
struct DialOpen {
    Fixture fx;
    DialWindow* dial = nullptr;
    QAccessibleInterface* canvas = nullptr;
    DialOpen()
    {
        fx.start();
        const std::string daten = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
        fx.load1(daten + "ALBRECHT.dat");
        fx.load2(daten + "HOLLMANN.dat");
        fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
        dial = dial_window_of(*fx.form);
        if (dial != nullptr) canvas = QAccessible::queryAccessibleInterface(dial->canvas());
    }
    QStringList child_names() const
    {
        QStringList names;
        for (int i = 0; i < canvas->childCount(); ++i) names << canvas->child(i)->text(QAccessible::Name);
        return names;
    }
};

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowInEveryStateNamesItsFields();
    void resultWindowNamesItsControlsAndReadsAsText();
    void chartIndexAndTextLibraryNameTheirControls();
    void rankingAndReportNameTheirControls();
    void additionsNameTheirControls();
    void dialReadsAsADialWithItsFactors();
    void dialValueMovesThePointerAndIsAnnounced();
};

void AccessibilityTest::mainWindowInEveryStateNamesItsFields()
{
    Fixture fx;
    fx.start();
    QCOMPARE(unnamed_in(fx.form.get()), QStringList());
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    // The orb fields are asked for: they say what they hold.
    QCOMPARE(unnamed_in(fx.form.get()), QStringList());
    QCOMPARE(fx.form->Edit1->accessibleName(), QStringLiteral("Doppelter Orbis"));
    QCOMPARE(fx.form->Edit2->accessibleName(), QStringLiteral("Einfacher Orbis"));
    QVERIFY(!fx.form->Edit1->accessibleDescription().isEmpty());
    fx.type_orbs("1,0", "0,5");
    fx.form->Info1->trigger();  // the information panel with its text
    QCOMPARE(unnamed_in(fx.form.get()), QStringList());
    // The search axes read as text.
    QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(fx.form->Memo1);
    QVERIFY(memo->textInterface() != nullptr);
    QVERIFY(memo->textInterface()->text(0, memo->textInterface()->characterCount()).contains(QStringLiteral("MC1/MC2")));
}

void AccessibilityTest::resultWindowNamesItsControlsAndReadsAsText()
{
    Fixture fx;
    fx.start();
    TForm2& result = *fx.form->Form2;
    QVERIFY(show_result(result, sample_result()));
    QCOMPARE(unnamed_in(&result), QStringList());
    result.Panel1->show();  // the export choice with its four radio buttons
    QCOMPARE(unnamed_in(&result), QStringList());
    QCOMPARE(result.RadioButton1->accessibleName(), QStringLiteral("Nur PL-Bild-Texte speichern"));
    QCOMPARE(result.RadioButton4->accessibleName(), QStringLiteral("Alle Texte drucken"));

    // The report reads as text, line by line as it stands.
    QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(result.Memo1);
    QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("Bericht des Vergleichs"));
    QAccessibleTextInterface* text = memo->textInterface();
    QVERIFY(text != nullptr);
    QCOMPARE(text->text(0, text->characterCount()), result.Memo1->toPlainText());
    // The list reads its entries as their texts.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(result.ListBox1);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Ergebnisliste"));
    QVERIFY(!list->text(QAccessible::Description).isEmpty());
    QStringList entries;
    for (int i = 0; i < list->childCount(); ++i) entries << list->child(i)->text(QAccessible::Name);
    QCOMPARE(entries, QStringList({QStringLiteral("MC/JU=AS/MO"), QStringLiteral("MC/JU=VE/MA")}));
    result.hide();
}

void AccessibilityTest::chartIndexAndTextLibraryNameTheirControls()
{
    Fixture fx;
    fx.start();
    fx.form->Kartei1->trigger();
    auto* kartei = fx.form->findChild<KarteiWindow*>();
    QVERIFY(kartei != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(kartei));
    QCOMPARE(unnamed_in(kartei), QStringList());
    kartei->close();

    fx.form->findChild<QAction*>(QStringLiteral("Textbibliothek1"))->trigger();
    // By its name: the window has no meta-object of its own, so findChild<TextlibWindow*> would
    // take the first widget child.
    auto* library = dynamic_cast<TextlibWindow*>(fx.form->findChild<QWidget*>(QStringLiteral("TextlibWindow")));
    QVERIFY(library != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(library));
    QCOMPARE(unnamed_in(library), QStringList());
    library->close();
}

void AccessibilityTest::rankingAndReportNameTheirControls()
{
    Fixture fx;
    fx.ready();
    RankingWindow* ranking = fx.form->ranking_window;
    ranking->show();
    QVERIFY(QTest::qWaitForWindowExposed(ranking));
    QCOMPARE(unnamed_in(ranking), QStringList());
    ranking->close();

    QStringList unnamed{QStringLiteral("no dialog")};
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TBericht*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        unnamed = unnamed_in(dialog);
        dialog->reject();
    });
    fx.form->Bericht1->trigger();
    QApplication::processEvents();
    QCOMPARE(unnamed, QStringList());
}

void AccessibilityTest::additionsNameTheirControls()
{
    Fixture fx;
    fx.ready();
    // The Auslösungen window, with its table after a run.
    TimelineWindow* timeline = fx.form->timeline_window;
    timeline->Ausloesungen1->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(timeline));
    QCOMPARE(unnamed_in(timeline).join(QStringLiteral("; ")), QString());
    timeline->close();

    fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* dial = dial_window_of(*fx.form);
    QVERIFY(dial != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(dial));
    QCOMPARE(unnamed_in(dial).join(QStringLiteral("; ")), QString());
    dial->close();

    QCOMPARE(unnamed_in_modal([&] { fx.form->Zeitprobe1->trigger(); }).join(QStringLiteral("; ")), QString());

    KarteiDialog chart_dialog(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr, nullptr);
    chart_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart_dialog));
    QCOMPARE(unnamed_in(&chart_dialog).join(QStringLiteral("; ")), QString());
    chart_dialog.close();

    // The box of "Laufwerk C: …" is a message box of the Qt desktop.
    QtDesktop desktop;
    desktop.set_parent(fx.form.get());
    QCOMPARE(unnamed_in_modal([&] { choose_drive_c(desktop, DriveC(fx.drive)); }).join(QStringLiteral("; ")),
             QString());

    HelpWindow help(handbuch_dir());
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QCOMPARE(unnamed_in(&help).join(QStringLiteral("; ")), QString());
}

void AccessibilityTest::dialReadsAsADialWithItsFactors()
{
    DialOpen o;
    QVERIFY(o.canvas != nullptr);
    QCOMPARE(o.canvas->text(QAccessible::Name), QStringLiteral("Scheibe"));
    QCOMPARE(o.canvas->role(), QAccessible::Dial);
    QVERIFY(o.canvas->state().focusable);

    // A child for each factor of both rings, named with its place in the zodiac as the chart
    // shows it, standing where the dial draws its code.
    QCOMPARE(o.canvas->childCount(), 2 * compared_bodies);
    const QStringList names = o.child_names();
    for (const char* expected : {"MC, Person 1, 21 Grad 44 Minuten Krebs", "Widderpunkt, Person 1, 0 Grad 0 Minuten Widder",
                                 "Sonne, Person 1, 10 Grad 31 Minuten Wassermann",
                                 "Mondknoten, Person 1, 5 Grad 48 Minuten Skorpion",
                                 "Saturn, Person 1, 22 Grad 39 Minuten Sch\u00FCtze",
                                 "Poseidon, Person 1, 14 Grad 13 Minuten Waage",
                                 "Sonne, Person 2, 0 Grad 14 Minuten L\u00F6we",
                                 "Jupiter, Person 2, 23 Grad 46 Minuten Widder"})
        QVERIFY2(names.contains(QString::fromUtf8(expected)), expected);
    const QRect dial_rect = o.canvas->rect();
    for (int i = 0; i < o.canvas->childCount(); ++i) {
        QAccessibleInterface* child = o.canvas->child(i);
        QCOMPARE(child->parent(), o.canvas);
        QCOMPARE(o.canvas->indexOfChild(child), i);
        QVERIFY2(dial_rect.contains(child->rect()), qPrintable(child->text(QAccessible::Name)));
        QCOMPARE(o.canvas->childAt(child->rect().center().x(), child->rect().center().y()) != nullptr, true);
    }
    // Person 1's codes stand inside person 2's.
    const auto distance = [&](int i) {
        return QLineF(QPointF(dial_rect.center()), QPointF(o.canvas->child(i)->rect().center())).length();
    };
    QVERIFY(distance(2) < distance(compared_bodies + 2));

    // The description says what stands on the pointer, as the tree shows it.
    o.dial->set_longitude(o.fx.form->chart.pos1[2]);  // on Albrecht's Sun: 18°01' on the 22.5-degree dial
    const QString description = o.canvas->text(QAccessible::Description);
    QVERIFY2(description.startsWith(QStringLiteral("Zeiger 18 Grad 1 Minuten, Orbis 1 Grad 0 Minuten; Sonne, Person 1, Abstand 0 Grad 0 Minuten")),
             qPrintable(description));
}

void AccessibilityTest::dialValueMovesThePointerAndIsAnnounced()
{
    DialOpen o;
    QVERIFY(o.canvas != nullptr);
    QAccessibleValueInterface* value = o.canvas->valueInterface();
    QVERIFY(value != nullptr);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), 22.5);
    QCOMPARE(value->minimumStepSize().toDouble(), 0.01);

    caught_events.clear();
    // Offscreen no screen reader listens, so Qt passes no event on: the dial's own listener
    // catches them.
    const DialEventListener before = listen_to_dial(catch_event);
    value->setCurrentValue(7.5);
    QCOMPARE(o.dial->pointer(), 7.5);
    QCOMPARE(value->currentValue().toDouble(), 7.5);
    QCOMPARE(o.canvas->text(QAccessible::Value), QStringLiteral("7 Grad 30 Minuten"));
    // An arrow key moves it by one step, and each move is announced with the new value.
    QTest::keyClick(o.dial->canvas(), Qt::Key_Right);
    // Beyond the dial's size it goes round.
    value->setCurrentValue(23.0);
    QCOMPARE(o.dial->pointer(), 0.5);
    o.dial->set_modulus(360);
    QCOMPARE(value->maximumValue().toDouble(), 360.0);
    listen_to_dial(before);

    std::vector<double> announced;
    bool described = false;
    for (const auto& [type, v] : caught_events) {
        if (type == QAccessible::ValueChanged) announced.push_back(v);
        described = described || type == QAccessible::DescriptionChanged;
    }
    // The larger dial shows the same longitude at the same place: no move to announce.
    QCOMPARE(announced, (std::vector<double>{7.5, 7.51, 0.5}));
    QVERIFY(described);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
