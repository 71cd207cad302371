// SPDX-License-Identifier: GPL-3.0-or-later
// The partner ranking window: when the Extras entry is usable, a scripted folder choice, orbs taken
// from the main window or asked for, the table after the background work, cancelling, and a
// double-click that loads the partner as person 2.
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "base/texts.h"
#include "desktop/ranking_window.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

/// The partners' folder: Schulz, Lang (unknown time), person 1's own file Meier, a broken file
/// and a subfolder with a second Schulz-born person.
std::filesystem::path partner_folder(const Fixture& fx)
{
    const auto folder = fx.drive / "partner";
    const auto put = [&](const std::string& file, const chart_record& r) {
        write_bytes(folder / file, chart_record_bytes(r));
    };
    put("SCHULZ.DAT", schulz());
    put("LANG.DAT", noon());
    chart_record twin = schulz();
    twin.name = "Zwilling";
    put("mehr/ZWILLING.DAT", twin);
    write_bytes(folder / "KAPUTT.DAT", "zu kurz");
    return folder;
}

QStringList column(const QTableWidget* table, int c)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) texts << table->item(r, c)->text();
    return texts;
}

struct Ranked {
    Fixture fx;
    RankingWindow* w = nullptr;
    std::vector<std::string> asked_dirs;
    std::deque<std::optional<std::string>> folders;

    /// Start, person 1 Meier (loaded from the partners' folder itself), the script in place.
    Ranked()
    {
        fx.start();
        const auto folder = partner_folder(fx);
        write_bytes(folder / "MEIER.DAT", chart_record_bytes(meier()));
        fx.load1((folder / "MEIER.DAT").string());
        w = fx.form->ranking_window;
        w->choose_folder = [this](const std::string& initial) -> std::optional<std::string> {
            asked_dirs.push_back(initial);
            if (folders.empty()) return std::nullopt;
            auto f = folders.front();
            folders.pop_front();
            return f;
        };
        fx.desktop.boxes.clear();
    }
    bool wait_done() { return QTest::qWaitFor([this] { return !w->running(); }, 20000); }
};

}  // namespace

class RankingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void entryIsUsableWithPersonOneWhileNameTwoIs();
    void asksForFolderAndOrbsThenRanksInTheBackground();
    void orbsOfTheMainWindowStartAtOnce();
    void tableSortsByAnyColumn();
    void doubleClickLoadsThePartnerAsPersonTwo();
    void cancelStopsTheWork();
};

void RankingWindowTest::entryIsUsableWithPersonOneWhileNameTwoIs()
{
    Fixture fx;
    fx.start();
    QAction* entry = fx.form->ranking_window->Rangliste1;
    QCOMPARE(entry->text(), to_qt(texts::kMenuRanking));
    QVERIFY(fx.form->Extras1->actions().contains(entry));
    QVERIFY(!entry->isEnabled());
    fx.load1(make_chart(fx.drive, "MEIER.DAT", meier()));
    QVERIFY(entry->isEnabled());
    fx.load2(make_chart(fx.drive, "SCHULZ.DAT", schulz()));
    QVERIFY(!entry->isEnabled());  // "Name &2" has been used
    // A restart goes back to the start state: no person 1, no ranking.
    fx.type_orbs("1,0", "0,5");
    fx.form->Ende1->trigger();
    QVERIFY(!entry->isEnabled());
}

void RankingWindowTest::asksForFolderAndOrbsThenRanksInTheBackground()
{
    Ranked r;
    // A cancelled folder dialog shows nothing; it starts in drive C's astro\daten.
    r.w->Rangliste1->trigger();
    QCOMPARE(r.asked_dirs.at(0), (r.fx.drive / "astro" / "daten").string());
    QVERIFY(r.w->isHidden());

    // No orbs in the main window yet: the window asks for them.
    r.folders.push_back((r.fx.drive / "partner").string());
    r.w->Rangliste1->trigger();
    QVERIFY(r.w->isVisible());
    QVERIFY(!r.w->running());
    QCOMPARE(r.w->Status->text(), to_qt(texts::kRankEnterOrbs));
    QCOMPARE(r.w->Table->rowCount(), 0);

    // An orb that does not read stays refused, as in the main window.
    QTest::keyClicks(r.w->OrbDouble, "1,x");
    QTest::keyClicks(r.w->OrbSimple, "0,5");
    QTest::mouseClick(r.w->StartButton, Qt::LeftButton);
    QVERIFY(!r.w->running());
    QVERIFY(r.w->OrbDouble->hasFocus() || !r.w->isActiveWindow());

    r.w->OrbDouble->setText("1,0");
    QSignalSpy progress(r.w->Progress, &QProgressBar::valueChanged);
    QTest::mouseClick(r.w->StartButton, Qt::LeftButton);
    QVERIFY(r.w->running());
    QVERIFY(!r.w->StartButton->isEnabled());
    QVERIFY(r.wait_done());
    QVERIFY(!progress.isEmpty());

    // Meier is person 1 and left out; the broken file is reported beside the table.
    QCOMPARE(r.w->Table->rowCount(), 3);
    QStringList names = column(r.w->Table, 5);
    names.sort();
    QCOMPARE(names, (QStringList{"Lang", "Schulz", "Zwilling"}));
    QVERIFY(r.w->Status->text().startsWith("3 Partner verglichen."));
    QVERIFY(r.w->Problems->isVisible());
    QVERIFY(r.w->Problems->toPlainText().contains("KAPUTT.DAT: Ladeversuch mit "));
    QVERIFY(r.fx.desktop.boxes.empty());

    // Best first; Schulz and the twin share S and a rank, ordered by path.
    const QStringList ranks = column(r.w->Table, 0);
    const QStringList scores = column(r.w->Table, 1);
    for (int i = 1; i < scores.size(); ++i) QVERIFY(scores[i - 1].toInt() >= scores[i].toInt());
    const int schulz_row = column(r.w->Table, 5).indexOf("Schulz");
    const int twin_row = column(r.w->Table, 5).indexOf("Zwilling");
    QCOMPARE(scores[schulz_row], scores[twin_row]);
    QCOMPARE(ranks[schulz_row], ranks[twin_row]);
    QCOMPARE(schulz_row + 1, twin_row);  // .../partner/SCHULZ.DAT before .../partner/mehr/ZWILLING.DAT

    // A birth date tells namesakes apart; rows are one line high; no header is cut.
    QCOMPARE(r.w->Table->horizontalHeaderItem(7)->text(), to_qt(texts::kRankBirthDate));
    QCOMPARE(column(r.w->Table, 7).at(schulz_row), QStringLiteral("17.11.1964"));
    QHeaderView* rows = r.w->Table->verticalHeader();
    for (int row = 0; row < r.w->Table->rowCount(); ++row)
        QVERIFY(rows->sectionSize(row) < 2 * r.w->Table->fontMetrics().height());
    QHeaderView* header = r.w->Table->horizontalHeader();
    for (int c = 0; c < 8; ++c) {
        const int text = header->fontMetrics().horizontalAdvance(r.w->Table->horizontalHeaderItem(c)->text());
        QVERIFY2(r.w->Table->columnWidth(c) > text, qPrintable(r.w->Table->horizontalHeaderItem(c)->text()));
    }
}

void RankingWindowTest::orbsOfTheMainWindowStartAtOnce()
{
    Ranked r;
    // Orbs entered in an earlier round stay in the main window's fields after a restart.
    r.fx.load2(make_chart(r.fx.drive, "SCHULZ.DAT", schulz()));
    r.fx.type_orbs("1,0", "0,5");
    r.fx.form->Ende1->trigger();
    r.fx.load1((r.fx.drive / "partner" / "MEIER.DAT").string());
    r.folders.push_back((r.fx.drive / "partner").string());
    r.w->Rangliste1->trigger();
    QCOMPARE(r.w->OrbDouble->text(), QString("1,0"));
    QCOMPARE(r.w->OrbSimple->text(), QString("0,5"));
    QVERIFY(r.w->running());
    QVERIFY(r.wait_done());
    QCOMPARE(r.w->Table->rowCount(), 3);
}

void RankingWindowTest::tableSortsByAnyColumn()
{
    Ranked r;
    r.w->OrbDouble->setText("1,0");
    r.w->OrbSimple->setText("0,5");
    r.folders.push_back((r.fx.drive / "partner").string());
    r.w->Rangliste1->trigger();
    QVERIFY(r.wait_done());
    QHeaderView* header = r.w->Table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(5) + 5, header->height() / 2));
    const QStringList by_name = column(r.w->Table, 5);
    QVERIFY(by_name == (QStringList{"Lang", "Schulz", "Zwilling"}) ||
            by_name == (QStringList{"Zwilling", "Schulz", "Lang"}));
    // Numbers sort as numbers.
    r.w->Table->sortItems(1, Qt::AscendingOrder);
    const QStringList scores = column(r.w->Table, 1);
    for (int i = 1; i < scores.size(); ++i) QVERIFY(scores[i - 1].toInt() <= scores[i].toInt());
}

void RankingWindowTest::doubleClickLoadsThePartnerAsPersonTwo()
{
    Ranked r;
    r.w->OrbDouble->setText("1,0");
    r.w->OrbSimple->setText("0,5");
    r.folders.push_back((r.fx.drive / "partner").string());
    r.w->Rangliste1->trigger();
    QVERIFY(r.wait_done());
    r.w->Table->sortItems(5, Qt::AscendingOrder);  // Lang, Schulz, Zwilling
    QTableWidget* table = r.w->Table;
    QVERIFY(QTest::qWaitForWindowExposed(r.w));
    const QRect cell = table->visualRect(table->model()->index(2, 5));
    // A double-click as the user makes it: a click, then the second press.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());

    // As "Name &2": person 2 loaded and shown, the orb hint, the orb fields; the window is gone.
    QVERIFY(r.w->isHidden());
    TForm1& f = *r.fx.form;
    QCOMPARE(f.chart.person2.name, std::string("Zwilling"));
    QVERIFY(f.person2_loaded());
    QVERIFY(!f.name2->isEnabled());
    QCOMPARE(f.Label6->text(), QString(" Zwilling"));
    QVERIFY(!f.Memo1->isHidden());
    QCOMPARE(r.fx.desktop.boxes.size(), std::size_t{1});
    QCOMPARE(r.fx.desktop.boxes[0].text, std::string(texts::kHintOrbsLong));
    QVERIFY(!f.Edit1->isHidden());
    QVERIFY(!r.w->Rangliste1->isEnabled());
}

void RankingWindowTest::cancelStopsTheWork()
{
    Ranked r;
    const auto many = r.fx.drive / "viele";
    for (int i = 0; i < 400; ++i) {
        const std::string name = "P" + std::to_string(1000 + i);
        chart_record p = schulz();
        p.name = name;
        write_bytes(many / (name + ".DAT"), chart_record_bytes(p));
    }
    r.w->OrbDouble->setText("1,0");
    r.w->OrbSimple->setText("0,5");
    r.folders.push_back(many.string());
    r.w->Rangliste1->trigger();
    QVERIFY(r.w->running());
    QVERIFY(r.w->CancelButton->isVisible());
    QTest::mouseClick(r.w->CancelButton, Qt::LeftButton);
    QVERIFY(r.wait_done());
    QCOMPARE(r.w->Status->text(), to_qt(texts::kRankCancelled));
    QCOMPARE(r.w->Table->rowCount(), 0);
    QVERIFY(!r.w->CancelButton->isVisible());

    // A new start runs to the end; closing the window while it works stops it.
    QTest::mouseClick(r.w->StartButton, Qt::LeftButton);
    QVERIFY(r.wait_done());
    QCOMPARE(r.w->Table->rowCount(), 400);
    QTest::mouseClick(r.w->StartButton, Qt::LeftButton);
    r.w->reject();
    QVERIFY(r.wait_done());
    QVERIFY(r.w->isHidden());
}

QTEST_MAIN(RankingWindowTest)
#include "ranking_window_test.moc"
