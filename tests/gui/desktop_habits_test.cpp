// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop user expects of the additions' windows: the Extras menu in its groups, boxes
// that give the focus back to the window they came from, the keyboard (mnemonics, the chart
// index's table, Escape), the place field, texts that fit, and the proposals of copy and print.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "base/cp1252.h"
#include "desktop/dial_window.h"
#include "desktop/extras_menu.h"
#include "desktop/kartei_dialog.h"
#include "desktop/kartei_window.h"
#include "desktop/qt_desktop.h"
#include "desktop/ranking_window.h"
#include "desktop/report_dialog.h"
#include "desktop/textlib_window.h"
#include "desktop/timeline_window.h"
#include "desktop/zeitprobe.h"
#include "fixture.h"
#include "kartei/kartei_texts.h"
#include "places/atlas.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

/// Closes every message box as soon as it is up (as Escape would) and notes the window it
/// belonged to.
struct BoxCloser {
    QTimer timer;
    std::vector<QWidget*> owners;
    BoxCloser()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            owners.push_back(box->parentWidget() == nullptr ? nullptr : box->parentWidget()->window());
            if (box->escapeButton() != nullptr) box->escapeButton()->click();
            else box->reject();
        });
        timer.start();
    }
};

bool bring_to_front(QWidget* window)
{
    QTest::qWait(20);  // what other windows did before is through
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) &&
           QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

/// Notes the mnemonic letter of `text` in `letters`, with the text that carries it.
void note_mnemonic(std::multimap<QChar, QString>& letters, const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') letters.emplace(text[i + 1].toLower(), text);
        ++i;
    }
}

/// The mnemonic letters of a window's buttons and labelled fields, with the texts that carry them.
std::multimap<QChar, QString> mnemonics(const QWidget& window)
{
    std::multimap<QChar, QString> letters;
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) note_mnemonic(letters, b->text());
    for (const QLabel* l : window.findChildren<QLabel*>())
        if (l->buddy() != nullptr) note_mnemonic(letters, l->text());
    return letters;
}

/// The mnemonic letters of a menu's entries.
std::multimap<QChar, QString> mnemonics(const QMenu& menu)
{
    std::multimap<QChar, QString> letters;
    for (const QAction* a : menu.actions())
        if (!a->isSeparator()) note_mnemonic(letters, a->text());
    return letters;
}

QStringList doubled(const std::multimap<QChar, QString>& letters)
{
    QStringList twice;
    for (auto it = letters.begin(); it != letters.end(); ++it)
        if (letters.count(it->first) > 1) twice << it->second;
    return twice;
}

/// The visible labels, combo boxes and buttons of `window` that are smaller than their text.
QStringList cut_texts(const QWidget& window)
{
    QStringList cut;
    for (const QLabel* l : window.findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty()) continue;
        const bool fits = l->wordWrap() ? l->height() >= l->heightForWidth(l->width())
                                        : l->width() >= l->sizeHint().width() && l->height() >= l->sizeHint().height();
        if (!fits) cut << l->text();
    }
    for (const QComboBox* c : window.findChildren<QComboBox*>())
        if (c->isVisible() && c->sizeAdjustPolicy() == QComboBox::AdjustToContents && c->width() < c->sizeHint().width())
            cut << c->currentText();
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width()) cut << b->text();
    return cut;
}

struct LargeFont {
    QFont before = QApplication::font();
    LargeFont()
    {
        QFont large(QStringLiteral("DejaVu Sans"));
        large.setPointSize(16);
        QApplication::setFont(large);
    }
    ~LargeFont() { QApplication::setFont(before); }
};

const Atlas& shipped_atlas()
{
    static const Atlas atlas = [] {
        std::string error;
        auto loaded = Atlas::load(atlas_path(), error);
        return loaded ? *loaded : Atlas::parse("");
    }();
    return atlas;
}

}  // namespace

class DesktopHabitsTest : public QObject {
    Q_OBJECT
private slots:
    void extrasMenuFollowsTheOneList();
    void boxesGiveTheFocusBackToTheirWindow();
    void mnemonicsAreUniqueInEachWindow();
    void chartIndexKeyboard();
    void escapeClosesEveryWindowOfOurs();
    void placeFieldShowsNoEmptyList();
    void textsFitWithALargeFontAndLongTexts();
    void copyProposesAFreeFolderAndImportOffersItsFiles();
    void dialPrintProposesItsNameAndShowsTheBirthData();
    void windowsOpenOnTheScreen();
};

void DesktopHabitsTest::extrasMenuFollowsTheOneList()
{
    Fixture fx;
    fx.start();
    const auto entries = [&fx] {
        QStringList names;
        for (const QAction* a : fx.form->Extras1->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    };
    const QStringList expected = {"Kartei1",    "Textbibliothek1",   "Bericht1",  "-",
                                  "Scheibe1",   "Zeitprobe1",        "Rangliste1", "-",
                                  "Ausloesungen1", "Ephemeride1", "-",
                                  "GenauePositionen1", "LaufwerkC1", "Darstellung1", "-", "Handbuch1"};
    QCOMPARE(entries(), expected);
    // Each entry has a mnemonic of its own.
    std::multimap<QChar, QString> letters;
    for (const QAction* a : fx.form->Extras1->actions())
        for (qsizetype i = 0; i + 1 < a->text().size(); ++i)
            if (a->text()[i] == u'&') letters.emplace(a->text()[i + 1].toLower(), a->text());
    QVERIFY2(doubled(letters).isEmpty(), qPrintable(doubled(letters).join(", ")));
    // An entry added later takes its listed place when the menu opens; one not listed goes last.
    auto* late = new QAction(QStringLiteral("sp\u00E4t"), fx.form->Extras1);
    late->setObjectName(QStringLiteral("Unbekannt1"));
    fx.form->Extras1->insertAction(fx.form->Extras1->actions().front(), late);
    emit fx.form->Extras1->aboutToShow();
    QCOMPARE(entries(), expected + QStringList({"-", "Unbekannt1"}));
    QCOMPARE(extras_order().front().action, std::string_view("Kartei1"));
}

void DesktopHabitsTest::boxesGiveTheFocusBackToTheirWindow()
{
    Fixture fx;
    const std::string meier_file = make_chart(fx.drive, "MEIER.DAT", meier());
    BoxCloser closer;
    QtDesktop qt;
    TForm1 form(qt, DriveC(fx.drive));
    qt.set_parent(&form);
    form.show();
    QTRY_VERIFY(!closer.owners.empty());  // the opening hint, over the main window
    QCOMPARE(closer.owners.back(), static_cast<QWidget*>(&form));
    form.name1Open(meier_file);
    QVERIFY(form.person1_loaded());

    form.Kartei1->trigger();
    auto* kartei = form.findChild<KarteiWindow*>();
    form.findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* dial = dial_window_of(form);
    QVERIFY(kartei != nullptr && dial != nullptr);
    KarteiDialog chart_dialog(qt, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr, nullptr,
                              kartei);
    TZeitprobe zeitprobe(form.time_window, &form);
    const std::vector<std::pair<const char*, QWidget*>> windows = {
        {"Hauptfenster", &form},      {"Ergebnisfenster", form.Form2}, {"Kartei", kartei},
        {"Kartendialog", &chart_dialog}, {"Scheibe", dial},            {"Rangliste", form.ranking_window},
        {"Zeitprobe", &zeitprobe},    {"Ausloesungen", form.timeline_window},
    };
    for (const auto& [name, window] : windows) {
        QVERIFY2(bring_to_front(window), name);
        const std::size_t before = closer.owners.size();
        qt.message(BoxType::information, "Probe", Buttons::ok);
        QVERIFY2(closer.owners.size() == before + 1, name);
        QVERIFY2(closer.owners.back() == window,
                 qPrintable(QString::fromLatin1(name) + " owner " + (closer.owners.back() ? closer.owners.back()->objectName() : "-") +
                            " active " + (QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : "-") +
                            " modal " + (QApplication::activeModalWidget() ? QApplication::activeModalWidget()->objectName() : "-")));
        QTRY_VERIFY2(QApplication::activeWindow() == window, name);
        window->hide();
    }

    // The chart index's own question: Delete asks, No keeps the file, the index keeps the keys.
    QVERIFY(bring_to_front(kartei));
    QVERIFY(kartei->select_path(meier_file));
    kartei->Table->setFocus();
    QTest::keyClick(kartei->Table, Qt::Key_Delete);
    QCOMPARE(closer.owners.back(), static_cast<QWidget*>(kartei));
    QTRY_VERIFY(QApplication::activeWindow() == kartei);
    QVERIFY(std::filesystem::exists(meier_file));
}

void DesktopHabitsTest::mnemonicsAreUniqueInEachWindow()
{
    Fixture fx;
    fx.start();
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    KarteiWindow kartei(fx.desktop, DriveC(fx.drive), fx.form.get());
    KarteiDialog chart_dialog(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr,
                              &shipped_atlas());
    TZeitprobe zeitprobe(fx.form->time_window, nullptr);
    fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    const std::vector<std::pair<const char*, const QWidget*>> windows = {
        {"Kartei", &kartei},       {"Kartendialog", &chart_dialog},   {"Zeitprobe", &zeitprobe},
        {"Scheibe", dial_window_of(*fx.form)}, {"Rangliste", fx.form->ranking_window},
        {"Ausloesungen", fx.form->timeline_window},
    };
    for (const auto& [name, window] : windows) {
        QVERIFY(window != nullptr);
        const auto letters = mnemonics(*window);
        QVERIFY2(doubled(letters).isEmpty(), qPrintable(QString::fromLatin1(name) + ": " + doubled(letters).join(", ")));
    }
    QVERIFY(mnemonics(chart_dialog).size() >= 10);

    // The menus of the main window that are not specified letter by letter: every entry of Extras
    // has a letter of its own ("Text&bibliothek", "Beric&ht").
    for (const QMenu* menu : {fx.form->Extras1, fx.form->mcmc1}) {
        const auto letters = mnemonics(*menu);
        QVERIFY2(doubled(letters).isEmpty(), qPrintable(menu->objectName() + ": " + doubled(letters).join(", ")));
        const QList<QAction*> entries = menu->actions();
        const auto separators = std::count_if(entries.begin(), entries.end(), [](const QAction* a) { return a->isSeparator(); });
        QCOMPARE(letters.size(), static_cast<std::size_t>(entries.size() - separators));  // every entry has one
    }
    QCOMPARE(fx.form->Bericht1->text(), QStringLiteral("Beric&ht \u2026"));
}

void DesktopHabitsTest::chartIndexKeyboard()
{
    Fixture fx;
    make_chart(fx.drive, "MEIER.DAT", meier());
    make_chart(fx.drive, "SCHULZ.DAT", schulz());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(bring_to_front(&k));
    k.FilterEdit->setFocus();
    QVERIFY(k.selected().empty());
    QTest::keyClick(k.FilterEdit, Qt::Key_Tab);
    QVERIFY(k.Table->hasFocus());
    QCOMPARE(k.selected().size(), std::size_t{1});  // Tab into the table chose the current row
    const std::string chosen = k.selected().front()->record.name;

    // Enter opens the row as "Bearbeiten …" does.
    QString title;
    std::string shown_name;
    QTimer::singleShot(0, [&] {
        if (auto* d = dynamic_cast<KarteiDialog*>(QApplication::activeModalWidget())) {
            title = d->windowTitle();
            shown_name = d->NameEdit->text().toStdString();
            d->reject();
        }
    });
    QTest::keyClick(k.Table, Qt::Key_Return);
    QCOMPARE(title, to_qt(texts::kCaptionEditChart));
    QCOMPARE(shown_name, chosen);

    // Delete asks; No deletes nothing.
    fx.desktop.answers.push_back(Answer::no);
    QTest::keyClick(k.Table, Qt::Key_Delete);
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QCOMPARE(fx.desktop.boxes.back().type, BoxType::confirmation);
    QCOMPARE(k.visible_rows(), 2);
}

void DesktopHabitsTest::escapeClosesEveryWindowOfOurs()
{
    Fixture fx;
    fx.start();
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.form->Kartei1->trigger();
    fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    KarteiDialog chart_dialog(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr,
                              nullptr);
    TZeitprobe zeitprobe(fx.form->time_window, nullptr);
    const std::vector<std::pair<const char*, QWidget*>> windows = {
        {"Kartei", fx.form->findChild<KarteiWindow*>()}, {"Scheibe", dial_window_of(*fx.form)},
        {"Rangliste", fx.form->ranking_window},          {"Kartendialog", &chart_dialog},
        {"Zeitprobe", &zeitprobe},                       {"Ausloesungen", fx.form->timeline_window},
    };
    for (const auto& [name, window] : windows) {
        QVERIFY2(bring_to_front(window), name);
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY2(!window->isVisible(), qPrintable(QString::fromLatin1(name) + " " + target->objectName()));
    }
}

void DesktopHabitsTest::placeFieldShowsNoEmptyList()
{
    Fixture fx;
    KarteiDialog d(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr,
                   &shipped_atlas());
    QVERIFY(bring_to_front(&d));
    QCompleter* completer = d.findChild<QCompleter*>();
    QVERIFY(completer != nullptr);
    d.PlaceEdit->setFocus();
    QTest::keyClicks(d.PlaceEdit, QStringLiteral("Xyzzyq"));
    QVERIFY(d.offered_places().empty());
    QVERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->popup()->model()->rowCount(), 1);
    QCOMPARE(completer->popup()->model()->index(0, 0).data().toString(), to_qt(texts::kNoPlaceFound));
    QVERIFY(!(completer->popup()->model()->index(0, 0).flags() & Qt::ItemIsSelectable));

    // Emptied: no list at all.
    d.PlaceEdit->selectAll();
    QTest::keyClick(d.PlaceEdit, Qt::Key_Backspace);
    QVERIFY(!completer->popup()->isVisible());

    // A match lists places that can be chosen.
    QTest::keyClicks(d.PlaceEdit, QStringLiteral("Wien"));
    QVERIFY(!d.offered_places().empty());
    QVERIFY(completer->popup()->model()->index(0, 0).flags() & Qt::ItemIsSelectable);
}

void DesktopHabitsTest::textsFitWithALargeFontAndLongTexts()
{
    LargeFont large;
    Fixture fx;
    // The chart dialog with a long name, a clock time that occurred twice and the preview lines.
    KarteiDialog d(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr,
                   &shipped_atlas());
    QVERIFY(bring_to_front(&d));
    d.NameEdit->setText(QStringLiteral("Schwarzenberger-M\u00FCller"));  // too long: a refusal beside it
    d.FirstNameEdit->setText(QStringLiteral("Friederike"));
    d.DateEdit->setText(QStringLiteral("27.10.2019"));
    d.TimeEdit->setText(QStringLiteral("2:30"));
    d.ZoneBox->setEditText(QStringLiteral("Europe/Berlin"));
    QVERIFY(!d.ReadingRow->isHidden());
    QTest::qWait(50);
    QVERIFY2(cut_texts(d).isEmpty(), qPrintable(cut_texts(d).join(" | ")));
    d.NameEdit->setText(QStringLiteral("Schwarzenb"));
    d.ReadingBox->setCurrentIndex(2);
    QTest::qWait(50);
    QCOMPARE(d.PreviewLabel->text().count(u'\n'), 3);  // local, universal, positions, file
    QVERIFY2(cut_texts(d).isEmpty(), qPrintable(cut_texts(d).join(" | ")));

    TZeitprobe zeitprobe(TimeWindow{}, nullptr);
    QVERIFY(bring_to_front(&zeitprobe));
    QVERIFY2(cut_texts(zeitprobe).isEmpty(), qPrintable(cut_texts(zeitprobe).join(" | ")));
    QVERIFY(!zeitprobe.Label1->text().contains(u'\n'));
}

void DesktopHabitsTest::copyProposesAFreeFolderAndImportOffersItsFiles()
{
    Fixture fx;
    const std::string file = make_chart(fx.drive, "MEIER.DAT", meier());
    KarteiWindow k(fx.desktop, DriveC(fx.drive));
    QVERIFY(k.select_path(file));
    QString folder;
    bool can_save = false;
    QTimer::singleShot(0, [&] {
        if (auto* d = dynamic_cast<KarteiDialog*>(QApplication::activeModalWidget())) {
            folder = d->FolderBox->currentText();
            can_save = d->SaveButton->isEnabled();
            d->reject();
        }
    });
    k.CopyButton->click();
    QCOMPARE(folder, QStringLiteral("Kopie"));
    QVERIFY(can_save);

    k.ImportButton->click();
    QCOMPARE(fx.desktop.open_filters.back(), cp1252_to_utf8(texts::kImportFilter));
    QVERIFY(QString::fromStdString(fx.desktop.open_filters.back())
                .startsWith(QStringLiteral("AAF- und CSV-Dateien (*.aaf *.csv *.txt)")));
}

void DesktopHabitsTest::dialPrintProposesItsNameAndShowsTheBirthData()
{
    Fixture fx;
    fx.start();
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    fx.form->findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    DialWindow* dial = dial_window_of(*fx.form);
    QVERIFY(dial != nullptr);
    QCOMPARE(dial->print_name(), std::string("Scheibe Meier Schulz"));
    QVERIFY(dial->print_proposal().endsWith(QStringLiteral("/Scheibe Meier Schulz.pdf")));
    const auto lines = dial->header_lines();
    QCOMPARE(to_qt(lines.at(0)), to_qt("Person 1: Hans Meier, geb. 01.05.1960, 06:30:45 WZ, Hamburg, 10\xB0" "00' O, 53\xB0"
                                       "33' N"));
    QVERIFY(to_qt(lines.at(1)).endsWith(to_qt(", 13\xB0" "24' O, 52\xB0" "31' N")));
}

void DesktopHabitsTest::windowsOpenOnTheScreen()
{
    // With a large font, each window of ours as large as it comes and placed low and right (as
    // over a main window near the screen's edge): it opens inside the screen's free area.
    LargeFont large;
    Fixture fx;
    fx.start();
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    fx.type_orbs("1,0", "0,5");
    TForm1& f = *fx.form;
    f.Kartei1->trigger();
    f.findChild<QAction*>(QStringLiteral("Scheibe1"))->trigger();
    f.findChild<QAction*>(QStringLiteral("Textbibliothek1"))->trigger();
    KarteiDialog chart_dialog(fx.desktop, fx.drive / "astro" / "daten", {}, KarteiDialog::Mode::create, nullptr,
                              &shipped_atlas(), &f);
    TZeitprobe zeitprobe(f.time_window, &f);
    TBericht report(fx.desktop, ReportInputs{&f.chart, f.orbs, &f.ktexte, DriveC(fx.drive), PositionSource::theory, {}},
                    &f);
    const std::vector<std::pair<const char*, QWidget*>> windows = {
        {"Kartei", f.findChild<KarteiWindow*>()}, {"Scheibe", dial_window_of(f)},
        {"Textbibliothek", f.findChild<QWidget*>(QStringLiteral("TextlibWindow"))}, {"Rangliste", f.ranking_window},
        {"Kartendialog", &chart_dialog}, {"Zeitprobe", &zeitprobe}, {"Bericht", &report},
    };
    for (const auto& [name, window] : windows) {
        QVERIFY2(window != nullptr, name);
        window->hide();
        const QRect room = window->screen()->availableGeometry();
        window->move(room.right() - 40, room.bottom() - 40);
        window->show();
        QApplication::processEvents();
        // Inside, in each direction where its minimum size lets it be; else from the room's edge.
        const QRect frame = window->frameGeometry();
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        const bool across = least.width() > room.width() ? frame.left() == room.left()
                                                         : frame.left() >= room.left() && frame.right() <= room.right();
        const bool down = least.height() > room.height() ? frame.top() == room.top()
                                                         : frame.top() >= room.top() && frame.bottom() <= room.bottom();
        QVERIFY2(across && down, qPrintable(QString::fromLatin1(name) + QStringLiteral(": %1,%2 %3x%4 in %5x%6")
                                                      .arg(frame.x()).arg(frame.y()).arg(frame.width())
                                                      .arg(frame.height()).arg(room.width()).arg(room.height())));
        window->hide();
    }
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    DesktopHabitsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_habits_test.moc"
