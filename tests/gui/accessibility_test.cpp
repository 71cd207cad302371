// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds: every object of the main window, the result window, the chart
// index, the text library, the partner ranking and the report dialog that can take the keyboard
// has a name, and the result window's report and list read as text.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "desktop/kartei_window.h"
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

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowInEveryStateNamesItsFields();
    void resultWindowNamesItsControlsAndReadsAsText();
    void chartIndexAndTextLibraryNameTheirControls();
    void rankingAndReportNameTheirControls();
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

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
