// SPDX-License-Identifier: GPL-3.0-or-later
// The manual: every page there with its pictures and links, F1 on the page of the window one works
// in (also beside the modal result window and the modal report dialog), the Extras entry, the
// contents following a link and the search narrowing the contents.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTest>
#include <filesystem>
#include <set>

#include "desktop/desktop_texts.h"
#include "desktop/help_window.h"
#include "desktop/kartei_window.h"
#include "desktop/report_dialog.h"
#include "fixture.h"

using namespace duoskop;
using namespace duoskop::test;

namespace {

/// Records the windows that a modal window blocked.
class BlockedWindows : public QObject {
public:
    std::set<QObject*> blocked;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowBlocked) blocked.insert(watched);
        if (event->type() == QEvent::WindowUnblocked) blocked.erase(watched);
        return false;
    }
};

HelpWindow* help_window()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = dynamic_cast<HelpWindow*>(widget); help != nullptr && help->isVisible()) return help;
    return nullptr;
}

void press_f1(QWidget* widget) { QTest::keyClick(widget, Qt::Key_F1); }

QStringList visible_pages(const HelpWindow& help)
{
    QStringList pages;
    for (int row = 0; row < help.Contents->count(); ++row)
        if (!help.Contents->item(row)->isHidden())
            pages << QString::fromLatin1(texts::kHelpPages[static_cast<std::size_t>(row)].page.data(),
                                         static_cast<qsizetype>(texts::kHelpPages[static_cast<std::size_t>(row)].page.size()));
    return pages;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { install_help_key(*qApp); }
    void everyPageIsThereWithItsPicturesAndLinks();
    void f1OpensThePageOfTheWindow();
    void f1BesideTheModalResultWindowIsNotBlocked();
    void f1BesideAnApplicationModalDialogOutlivesIt();
    void extrasEntryOpensTheFirstPage();
    void searchNarrowsTheContentsAndLinksMoveThem();
};

void HelpWindowTest::everyPageIsThereWithItsPicturesAndLinks()
{
    const std::filesystem::path dir = handbuch_dir();
    std::set<std::string> pages;
    for (const auto& entry : texts::kHelpPages) pages.insert(std::string(entry.page));
    // Every file of the folder is a page of the contents, and every page of the contents a file.
    std::set<std::string> files;
    for (const auto& file : std::filesystem::directory_iterator(dir))
        if (file.path().extension() == ".md") files.insert(file.path().stem().string());
    QCOMPARE(files, pages);

    const QRegularExpression target(QStringLiteral(R"(\]\(([^)#]+)\))"));
    for (const std::string& page : pages) {
        QFile file(QString::fromStdString((dir / (page + ".md")).string()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.startsWith(QStringLiteral("# ")), page.c_str());
        for (auto hit = target.globalMatch(text); hit.hasNext();) {
            const std::string link = hit.next().captured(1).toStdString();
            QVERIFY2(std::filesystem::is_regular_file(dir / link), (page + " -> " + link).c_str());
        }
    }
}

void HelpWindowTest::f1OpensThePageOfTheWindow()
{
    Fixture fx;
    fx.ready();
    press_f1(fx.form->Edit1->isVisible() ? static_cast<QWidget*>(fx.form->Edit1) : fx.form.get());
    HelpWindow* help = help_window();
    QVERIFY(help != nullptr);
    QCOMPARE(help->current_page(), std::string("hauptfenster"));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Orben")));

    // The chart index, a window of the main window, has its own page; the help window is reused.
    fx.form->Kartei1->trigger();
    auto* kartei = fx.form->findChild<KarteiWindow*>();
    QVERIFY(kartei != nullptr);
    press_f1(kartei);
    QCOMPARE(help_window(), help);
    QCOMPARE(help->current_page(), std::string("kartei"));
    QCOMPARE(help->Contents->currentItem()->text(), QStringLiteral("Horoskop-Kartei"));

    // A window that names no page shows the first one; F1 in the help window changes nothing.
    QWidget stranger;
    stranger.show();
    press_f1(&stranger);
    QCOMPARE(help->current_page(), std::string("index"));
    press_f1(help->SearchEdit);
    QCOMPARE(help->current_page(), std::string("index"));
}

void HelpWindowTest::f1BesideTheModalResultWindowIsNotBlocked()
{
    Fixture fx;
    fx.ready();
    BlockedWindows blocked;
    qApp->installEventFilter(&blocked);
    HelpWindow* help = nullptr;
    QVERIFY(while_modal(fx.form->Form2, [&] { fx.form->einfache1->trigger(); }, [&] {
        press_f1(fx.form->Form2->ListBox1);
        help = help_window();
        QVERIFY(help != nullptr);
        QCOMPARE(help->current_page(), std::string("ergebnisse"));
        QVERIFY(help->parentWidget() == nullptr);  // a window of its own
        QApplication::processEvents();
        QVERIFY(!blocked.blocked.contains(help));
        QVERIFY(!blocked.blocked.contains(help->windowHandle()));
        QVERIFY(blocked.blocked.contains(fx.form->windowHandle()));  // the main window waits
    }));
    qApp->removeEventFilter(&blocked);
    QVERIFY(help_window() == help);
}

void HelpWindowTest::f1BesideAnApplicationModalDialogOutlivesIt()
{
    Fixture fx;
    fx.ready();
    BlockedWindows blocked;
    qApp->installEventFilter(&blocked);
    HelpWindow* help = nullptr;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TBericht*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        shown = true;
        press_f1(dialog);
        help = help_window();
        if (help == nullptr) return dialog->reject();
        QApplication::processEvents();
        QCOMPARE(help->current_page(), std::string("bericht"));
        QVERIFY(!blocked.blocked.contains(help->windowHandle()));
        dialog->reject();
    });
    fx.form->Bericht1->trigger();
    QApplication::processEvents();
    qApp->removeEventFilter(&blocked);
    QVERIFY(shown);
    QVERIFY(help != nullptr);
    // The dialog is gone; the manual stays open as a window of its own.
    QCOMPARE(help_window(), help);
    QVERIFY(help->parentWidget() == nullptr);
    QCOMPARE(help->current_page(), std::string("bericht"));
}

void HelpWindowTest::extrasEntryOpensTheFirstPage()
{
    Fixture fx;
    fx.start();
    QAction* handbuch = fx.form->findChild<QAction*>(QStringLiteral("Handbuch1"));
    QVERIFY(handbuch != nullptr);
    QVERIFY(fx.form->Extras1->actions().contains(handbuch));
    QCOMPARE(fx.form->Extras1->actions().last(), handbuch);  // the last group of the menu
    QCOMPARE(handbuch->text(), QStringLiteral("Han&dbuch \u2026"));
    handbuch->trigger();
    HelpWindow* help = help_window();
    QVERIFY(help != nullptr);
    QCOMPARE(help->current_page(), std::string("index"));
    QCOMPARE(help->Contents->count(), static_cast<int>(std::size(texts::kHelpPages)));
}

void HelpWindowTest::searchNarrowsTheContentsAndLinksMoveThem()
{
    Fixture fx;
    fx.start();
    HelpWindow* help = open_help(*fx.form, "index");
    // Case and accents do not count, "oe" finds "ö", as in the text library's search.
    QTest::keyClicks(help->SearchEdit, QStringLiteral("PAPIERKORB"));
    QCOMPARE(visible_pages(*help), QStringList({QStringLiteral("kartei")}));
    help->SearchEdit->clear();
    QTest::keyClicks(help->SearchEdit, QStringLiteral("Rueckgaengig Versionen"));
    QCOMPARE(visible_pages(*help), QStringList({QStringLiteral("textbibliothek")}));
    QTest::keyClick(help->SearchEdit, Qt::Key_Return);
    QCOMPARE(help->current_page(), std::string("textbibliothek"));
    help->SearchEdit->clear();
    QCOMPARE(visible_pages(*help).size(), static_cast<qsizetype>(std::size(texts::kHelpPages)));

    // A link to another page: the contents follow.
    help->Browser->setSource(QUrl::fromLocalFile(QString::fromStdString((handbuch_dir() / "scheibe.md").string())));
    QCOMPARE(help->current_page(), std::string("scheibe"));
    QCOMPARE(help->Contents->currentItem()->text(), QStringLiteral("Scheibe"));
    QVERIFY(help->Browser->toPlainText().contains(QStringLiteral("Zeiger")));
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
