// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/help_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <vector>

#include "base/drive_c.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/window_habits.h"
#include "textlib/library.h"

namespace duoskop {

namespace {

/// Which page of the manual belongs to which window, by the window's object name.
struct WindowPage {
    std::string_view window;
    std::string_view page;
};
constexpr WindowPage window_pages[] = {
    {"Form1", "hauptfenster"},
    {"Form2", "ergebnisse"},
    {"KarteiWindow", "kartei"},
    {"KarteiDialog", "kartei"},
    {"TextlibWindow", "textbibliothek"},
    {"Bericht", "bericht"},
    {"DialWindow", "scheibe"},
    {"Zeitprobe", "zeitprobe"},
    {"RankingWindow", "rangliste"},
    {"TimelineWindow", "ausloesungen"},
    {"EphemerisWindow", "ephemeride"},
};
static_assert(std::size(window_pages) == 11);

constexpr std::string_view index_page = "index";

/// The pages' files are named in the table of contents; any other name is not a page.
int row_of(std::string_view page)
{
    for (std::size_t i = 0; i < std::size(texts::kHelpPages); ++i)
        if (texts::kHelpPages[i].page == page) return static_cast<int>(i);
    return -1;
}

/// Owns the help window for the outermost window it belongs to, and deletes it with that window.
class HelpHolder : public QObject {
public:
    explicit HelpHolder(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("HelpHolder")); }
    ~HelpHolder() override { delete window.data(); }
    HelpHolder(const HelpHolder&) = delete;
    HelpHolder& operator=(const HelpHolder&) = delete;

    QPointer<HelpWindow> window;
};

/// The one help window of the application, when there is one.
HelpWindow* existing_help_window()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = dynamic_cast<HelpWindow*>(widget)) return help;
    return nullptr;
}

/// F1 opens the manual at the page of the window that has the keyboard.
class HelpKey : public QObject {
public:
    explicit HelpKey(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("HelpKey")); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (dynamic_cast<HelpWindow*>(widget->window()) != nullptr) return true;  // already there
        open_help(*widget, help_page_of(*widget));
        return true;
    }
};

}  // namespace

std::filesystem::path handbuch_dir() { return program_data_dir() / "handbuch"; }

std::string help_page_of(const QWidget& window)
{
    for (const QWidget* w = window.window(); w != nullptr;
         w = w->parentWidget() != nullptr ? w->parentWidget()->window() : nullptr) {
        const QByteArray name = w->objectName().toUtf8();
        const std::string_view object(name.constData(), static_cast<std::size_t>(name.size()));
        for (const WindowPage& entry : window_pages)
            if (entry.window == object) return std::string(entry.page);
    }
    return std::string(index_page);
}

HelpWindow::HelpWindow(std::filesystem::path folder) : QWidget(nullptr, Qt::Window), folder_(std::move(folder))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(to_qt(texts::kHelpCaption));
    keep_on_screen(*this);
    close_on_escape(*this);
    resize(980, 700);

    SearchLabel = new QLabel(to_qt(texts::kHelpSearch), this);
    SearchLabel->setObjectName(QStringLiteral("SearchLabel"));
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setPlaceholderText(to_qt(texts::kHelpSearchHint));
    SearchEdit->setClearButtonEnabled(true);
    SearchLabel->setBuddy(SearchEdit);

    Contents = new QListWidget(this);
    Contents->setObjectName(QStringLiteral("Contents"));
    Contents->setAccessibleName(to_qt(texts::kHelpContents));
    for (const auto& entry : texts::kHelpPages) Contents->addItem(to_qt(entry.title));
    texts_.resize(std::size(texts::kHelpPages));

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setAccessibleName(to_qt(texts::kHelpCaption));
    Browser->setOpenExternalLinks(false);

    // The keyboard's way: search, contents, page.
    setTabOrder(SearchEdit, Contents);
    setTabOrder(Contents, Browser);

    auto* left = new QWidget(this);
    auto* left_layout = new QVBoxLayout(left);
    left_layout->setContentsMargins(0, 0, 0, 0);
    auto* search_row = new QHBoxLayout;
    search_row->addWidget(SearchLabel);
    search_row->addWidget(SearchEdit, 1);
    left_layout->addLayout(search_row);
    left_layout->addWidget(Contents, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 740});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    connect(SearchEdit, &QLineEdit::textChanged, this, [this](const QString& text) { filter(text); });
    // Enter in the search field opens the first page that holds the words.
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] {
        for (int row = 0; row < Contents->count(); ++row) {
            if (Contents->item(row)->isHidden()) continue;
            Contents->setCurrentRow(row);
            break;
        }
    });
    connect(Contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < std::size(texts::kHelpPages) &&
            texts::kHelpPages[static_cast<std::size_t>(row)].page != page_)
            show_page(texts::kHelpPages[static_cast<std::size_t>(row)].page);
    });
    // A link to another page of the manual: the contents follow.
    connect(Browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const std::string page = url.fileName().chopped(3).toStdString();
        const int row = row_of(page);
        if (row < 0) return;
        page_ = page;
        const QSignalBlocker quiet(Contents);
        Contents->setCurrentRow(row);
        mark_search();
    });
}

void HelpWindow::show_page(std::string_view page)
{
    int row = row_of(page);
    if (row < 0) row = row_of(index_page);
    page_ = std::string(texts::kHelpPages[static_cast<std::size_t>(row)].page);
    {
        const QSignalBlocker quiet(Contents);
        Contents->setCurrentRow(row);
    }
    const std::filesystem::path file = folder_ / (page_ + ".md");
    if (std::filesystem::is_regular_file(file)) {
        Browser->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())),
                           QTextDocument::MarkdownResource);
    } else {
        Browser->setPlainText(to_qt(texts::kHelpPageMissing) + QString::fromStdString(file.string()));
    }
    mark_search();
}

const QString& HelpWindow::page_text(int row)
{
    QString& text = texts_[static_cast<std::size_t>(row)];
    if (text.isNull()) {
        QFile file(QString::fromStdString(
            (folder_ / (std::string(texts::kHelpPages[static_cast<std::size_t>(row)].page) + ".md")).string()));
        text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("");
        // The search goes by the rule of the text library: case and accents ignored, ä = ae.
        text = to_qt(textlib::fold(from_qt(text)));
    }
    return text;
}

void HelpWindow::filter(const QString& search)
{
    const QStringList words = to_qt(textlib::fold(from_qt(search))).split(QChar(u' '), Qt::SkipEmptyParts);
    for (int row = 0; row < Contents->count(); ++row) {
        const QString& text = words.isEmpty() ? QString() : page_text(row);
        const bool holds =
            std::all_of(words.begin(), words.end(), [&text](const QString& word) { return text.contains(word); });
        Contents->item(row)->setHidden(!holds);
    }
    mark_search();
}

void HelpWindow::mark_search()
{
    const QStringList words = SearchEdit->text().split(QChar(u' '), Qt::SkipEmptyParts);
    QTextCursor start(Browser->document());
    Browser->setTextCursor(start);
    if (!words.isEmpty()) Browser->find(words.front());
}

void HelpWindow::belong_to(QWidget* host)
{
    if (host == host_ && (host == nullptr ? parentWidget() == nullptr : host->isAncestorOf(this))) return;
    if (host_ != nullptr) host_->removeEventFilter(this);
    const QRect place = geometry();
    const bool shown = !isHidden();
    // A window of the modal one is not blocked by it; without a host it stands on its own.
    setParent(host, Qt::Window);
    setGeometry(place);
    host_ = host;
    if (host_ != nullptr) host_->installEventFilter(this);
    if (shown) show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The modal window closes: the manual goes on as a window of its own.
    if (watched == host_ && host_ != nullptr && event->type() == QEvent::Hide) {
        const bool shown = !isHidden();
        host_->removeEventFilter(this);
        host_ = nullptr;
        const QRect place = geometry();
        setParent(nullptr, Qt::Window);
        setGeometry(place);
        if (shown) show();
    }
    return QWidget::eventFilter(watched, event);
}

HelpWindow* open_help(QWidget& from, std::string_view page)
{
    HelpWindow* help = existing_help_window();
    if (help == nullptr) {
        QWidget* root = from.window();
        while (root->parentWidget() != nullptr) root = root->parentWidget()->window();
        auto* holder = dynamic_cast<HelpHolder*>(
            root->findChild<QObject*>(QStringLiteral("HelpHolder"), Qt::FindDirectChildrenOnly));
        if (holder == nullptr) holder = new HelpHolder(root);
        help = new HelpWindow(handbuch_dir());
        holder->window = help;
    }
    // Beside a window modal to the whole program the manual is one of its windows, or it would
    // be blocked; a window modal to its parent only (the result window) blocks no other window.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != help && modal->windowModality() != Qt::ApplicationModal) modal = nullptr;
    help->belong_to(modal == help ? nullptr : modal);
    help->show_page(page);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void install_help_key(QApplication& app)
{
    if (app.findChild<QObject*>(QStringLiteral("HelpKey"), Qt::FindDirectChildrenOnly) != nullptr) return;
    app.installEventFilter(new HelpKey(&app));
}

}  // namespace duoskop
