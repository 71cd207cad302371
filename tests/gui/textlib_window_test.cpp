// SPDX-License-Identifier: GPL-3.0-or-later
// The text library window: editing on the grid of the files, refusals with their reason, a saved
// text at the next click of the result window, a file changed by another program, versions, and
// the coverage of the current comparison with the reversed-form mark.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>

#include "desktop/textlib_window.h"
#include "fixture.h"
#include "results/pictures.h"

using namespace duoskop;
using namespace duoskop::test;
using text_testing::picture_index;
using text_testing::picture_record;
using test_support::slurp;

namespace {

/// The fixture's drive with a picture collection of one axis pair: MC/SO=JU/SA in slot 0.
TextlibWindow* open_window(Fixture& fx)
{
    write_bytes(fx.drive / "PBTX" / "MCSO.vwt", picture_index({{0, "JU/SA"}}));
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", picture_record({"Zuversicht und Geduld im Beruf."}));
    fx.start();
    fx.desktop.boxes.clear();  // the opening hint
    auto* action = fx.form->findChild<QAction*>(QStringLiteral("Textbibliothek1"));
    if (action == nullptr || !action->isEnabled()) return nullptr;  // usable with no person loaded
    action->trigger();
    for (QObject* child : fx.form->children())
        if (auto* window = dynamic_cast<TextlibWindow*>(child)) return window;
    return nullptr;
}

std::vector<std::string> shown_lines(const Fixture& fx, const std::string& entry)
{
    std::vector<std::string> lines;
    for (const std::string& line : resolve_entry(entry, fx.form->ktexte, DriveC(fx.drive)).lines)
        lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
    return lines;
}

}  // namespace

class TextlibWindowTest : public QObject {
    Q_OBJECT
private slots:
    void editsOnTheGridAndRefusesWhatTheFilesCannotHold();
    void coverageOfTheCurrentComparison();
    void anotherCollectionBesideTheFirst();
};

void TextlibWindowTest::editsOnTheGridAndRefusesWhatTheFilesCannotHold()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    QCOMPARE(w->list->count(), 5);  // four single meanings and one picture
    w->filter->setText(QStringLiteral("GEDULD"));
    QCOMPARE(w->list->count(), 2);  // JU/SA and MC/SO=JU/SA
    w->filter->clear();

    // A new picture: the words wrap onto the lines of the files, the room left is shown.
    w->newClick();
    w->formula->setText(QStringLiteral("MC/SO=VE/MA"));
    const QString words = QStringLiteral("Anziehung zwischen Ziel und Leidenschaft; die Begegnung wirkt stark und "
                                         "lange nach, gr\u00F6\u00DFer als gedacht.");
    w->editor->setPlainText(words);
    QVERIFY(w->room->text().startsWith(QStringLiteral("Zeilen: 2 von 14, in der letzten Zeile noch ")));
    w->saveClick();
    QVERIFY(fx.desktop.boxes.empty());
    QCOMPARE(shown_lines(fx, "MC/SO=VE/MA"),
             (std::vector<std::string>{"Anziehung zwischen Ziel und Leidenschaft; die Begegnung wirkt stark und",
                                       "lange nach, gr\xF6\xDF" "er als gedacht."}));
    QCOMPARE(w->list->count(), 6);

    // What the picture files cannot hold is refused with its reason; nothing is written.
    const std::string before = slurp(fx.drive / "PBTX" / "MCSO.txt");
    w->editor->setPlainText(QStringLiteral("So \u201Egut\u201C"));
    QVERIFY(w->room->text().contains(QStringLiteral("Zeile 1, Spalte 4")));
    w->saveClick();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QVERIFY(fx.desktop.boxes[0].text.find("Spalte 4") != std::string::npos);
    QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), before);

    // A single meaning saved while the program runs shows at the next click of an entry.
    fx.desktop.boxes.clear();
    w->formula->setText(QStringLiteral("MC/SO"));
    w->editor->setPlainText(QStringLiteral("Ziele, neu gefasst"));
    w->saveClick();
    ResultText result;
    result.entries = {"MC/SO=AS/MO"};
    QVERIFY(show_result(*fx.form->Form2, result));
    fx.form->Form2->ListBox1->setCurrentRow(0);
    fx.form->Form2->ListBox1Click();
    QVERIFY(!fx.desktop.boxes.empty());
    QVERIFY(fx.desktop.boxes.back().text.find("MC/SO: Ziele, neu gefasst") != std::string::npos);
    fx.form->Form2->hide();

    // A file another program changed since it was read is not overwritten without leave.
    const std::string theirs = slurp(fx.drive / "PBTX" / "MCSO.txt") + picture_record({"von anderswo"});
    write_bytes(fx.drive / "PBTX" / "MCSO.txt", theirs);
    fx.desktop.boxes.clear();
    fx.desktop.answers = {Answer::no};
    w->formula->setText(QStringLiteral("MC/SO=JU/SA"));
    w->editor->setPlainText(QStringLiteral("Meine Fassung"));
    w->saveClick();
    QCOMPARE(fx.desktop.boxes.size(), std::size_t{1});
    QCOMPARE(fx.desktop.boxes[0].type, BoxType::confirmation);
    QVERIFY(fx.desktop.boxes[0].buttons == Buttons::yes_no_default_no);  // Enter keeps their file
    QCOMPARE(slurp(fx.drive / "PBTX" / "MCSO.txt"), theirs);

    // "Versionen …" brings back the texts as they were before the first change.
    w->refresh();
    QVERIFY(w->versions->count() >= 2);
    w->versions->setCurrentIndex(w->versions->count() - 1);
    fx.desktop.answers = {Answer::yes};
    w->versionsClick();
    QVERIFY(shown_lines(fx, "MC/SO=VE/MA").empty());
}

void TextlibWindowTest::coverageOfTheCurrentComparison()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    QCOMPARE(w->coverage_list->count(), 0);  // no comparison yet
    ResultText result;
    result.entries = {"MC/SO=JU/SA", "MC/JU=VE/MA", "JU/SA=MC/SO", "AP/AD=KR/VU"};
    QVERIFY(show_result(*fx.form->Form2, result));
    fx.form->Form2->hide();
    w->refresh();
    QCOMPARE(w->coverage_list->count(), 4);
    QCOMPARE(w->coverage_list->item(0)->text(), QStringLiteral("MC/SO=JU/SA\tBild"));
    QCOMPARE(w->coverage_list->item(1)->text(), QStringLiteral("MC/JU=VE/MA\tEinzelbedeutungen"));
    QCOMPARE(w->coverage_list->item(2)->text(),
             QStringLiteral("JU/SA=MC/SO\tEinzelbedeutungen  (umgekehrt vorhanden)"));
    QCOMPARE(w->coverage_list->item(3)->text(), QStringLiteral("AP/AD=KR/VU\tkeine"));
    QCOMPARE(w->coverage_counts->text(), QStringLiteral("4 Eintr\u00E4ge: 1 Bild, 2 Einzelbedeutungen, 1 keine"));

    // An entry without a picture text opens the editor on its formula; the reversed form's text
    // is offered and taken over, and saving it gives the entry a picture text.
    fx.desktop.answers = {Answer::yes};
    QTest::mouseClick(w->coverage_list->viewport(), Qt::LeftButton, {},
                      w->coverage_list->visualItemRect(w->coverage_list->item(2)).center());
    QCOMPARE(w->formula->text(), QStringLiteral("JU/SA=MC/SO"));
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Zuversicht und Geduld im Beruf."));
    w->saveClick();
    QCOMPARE(shown_lines(fx, "JU/SA=MC/SO"), std::vector<std::string>{"Zuversicht und Geduld im Beruf."});
    QCOMPARE(w->coverage_list->item(2)->text(), QStringLiteral("JU/SA=MC/SO\tBild"));
}

void TextlibWindowTest::anotherCollectionBesideTheFirst()
{
    Fixture fx;
    TextlibWindow* w = open_window(fx);
    QVERIFY(w != nullptr);
    const std::filesystem::path theirs = fx.drive / "Kollege";
    write_bytes(theirs / "MCSO.vwt", picture_index({{4, "JU/SA"}}));
    write_bytes(theirs / "MCSO.txt", std::string(4 * 1024, ' ') + picture_record({"Die Sicht des Kollegen."}));
    const std::string their_bytes = slurp(theirs / "MCSO.txt");
    w->open_formula("MC/SO=JU/SA");
    fx.desktop.open_paths.push_back((theirs / "MCSO.vwt").string());
    w->compareClick();
    QCOMPARE(w->editor->toPlainText(), QStringLiteral("Zuversicht und Geduld im Beruf."));
    QCOMPARE(w->other->toPlainText(), QStringLiteral("Die Sicht des Kollegen."));
    QVERIFY(w->take_button->isEnabled());
    w->takeClick();
    w->saveClick();
    QCOMPARE(shown_lines(fx, "MC/SO=JU/SA"), std::vector<std::string>{"Die Sicht des Kollegen."});
    QCOMPARE(slurp(theirs / "MCSO.txt"), their_bytes);  // the other collection is only read
}

QTEST_MAIN(TextlibWindowTest)
#include "textlib_window_test.moc"
