// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/ranking_window.h"

#include <QAction>
#include <QEvent>
#include <QByteArray>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <utility>

#include "app/orb.h"
#include "base/cp1252.h"
#include "base/texts.h"
#include "desktop/desktop_texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/window_habits.h"
#include "desktop/unit1.h"
#include "precise/precise_positions.h"
#include "ranking/rank_table.h"

namespace duoskop {

namespace {

// Columns of the table: the terminal's table with the birth date after the first name, to tell
// partners of one name apart.
enum Column { kRank, kS, kD, kE, kL, kName, kFirstName, kDate, kPath, kColumns };

// A file path (bytes) for a widget: UTF-8, odd bytes shown as replacement characters.
QString path_text(const std::string& path) { return QString::fromStdString(valid_utf8(path)); }

QTableWidgetItem* number_item(std::size_t n)
{
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, static_cast<qulonglong>(n));  // sorts as a number
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

/// A birth date "TT.MM.JJJJ" that sorts by year, month and day.
class DateItem : public QTableWidgetItem {
public:
    explicit DateItem(const QString& date) : QTableWidgetItem(date) {}
    bool operator<(const QTableWidgetItem& other) const override { return key(text()) < key(other.text()); }

private:
    static QString key(const QString& date)
    {
        return date.size() == 10 ? date.mid(6, 4) + date.mid(3, 2) + date.mid(0, 2) : date;
    }
};

}  // namespace

RankingWindow::RankingWindow(TForm1& form, Desktop& desktop, DriveC drive)
    : QDialog(&form), form_(form), desktop_(desktop), drive_(std::move(drive))
{
    setObjectName(QStringLiteral("RankingWindow"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(texts::kRankCaption));
    // The main window waits while the ranking is open: person 1 stays what was ranked.
    setWindowModality(Qt::ApplicationModal);
    resize(760, 480);

    choose_folder = [this](const std::string& initial_dir) -> std::optional<std::string> {
        const QString dir = QFileDialog::getExistingDirectory(this, to_qt(texts::kRankCaption),
                                                              QString::fromStdString(initial_dir));
        if (dir.isEmpty()) return std::nullopt;
        return dir.toStdString();
    };

    FolderLabel = plain_label(this);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    FolderButton = new QPushButton(to_qt(texts::kRankChooseFolder), this);
    FolderButton->setObjectName(QStringLiteral("FolderButton"));
    OrbDouble = new QLineEdit(this);
    OrbDouble->setObjectName(QStringLiteral("OrbDouble"));
    OrbSimple = new QLineEdit(this);
    OrbSimple->setObjectName(QStringLiteral("OrbSimple"));
    for (QLineEdit* field : {OrbDouble, OrbSimple}) {
        field->setMaxLength(10);
        field->setFixedWidth(60);
    }
    StartButton = new QPushButton(to_qt(texts::kRankStart), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setDefault(true);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    CancelButton = new QPushButton(to_qt(texts::kRankCancel), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    Status = plain_label(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setWordWrap(true);

    Table = new QTableWidget(0, kColumns, this);
    Table->setObjectName(QStringLiteral("Table"));
    QStringList headers;
    for (const RankRow::value_type& h : rank_header()) headers << QString::fromStdString(h);
    headers.insert(kDate, to_qt(texts::kRankBirthDate));
    Table->setHorizontalHeaderLabels(headers);
    Table->verticalHeader()->hide();
    // One line a row, as high as the font needs.
    Table->setWordWrap(false);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
    fit_columns();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setSortingEnabled(true);

    Problems = new QPlainTextEdit(this);
    Problems->setObjectName(QStringLiteral("Problems"));
    Problems->setReadOnly(true);
    Problems->setMaximumHeight(80);
    Problems->hide();
    // What a screen reader says of the fields, the table and the list of files not loaded.
    OrbDouble->setAccessibleName(to_qt(texts::kLabelDoubleOrb));
    OrbSimple->setAccessibleName(to_qt(texts::kLabelSimpleOrb));
    Table->setAccessibleName(to_qt(texts::kA11yRankTable));
    Table->setAccessibleDescription(to_qt(texts::kA11yRankTableInfo));
    Problems->setAccessibleName(to_qt(texts::kA11yRankProblems));

    auto* top = new QHBoxLayout;
    top->addWidget(FolderLabel, 1);
    top->addWidget(FolderButton);
    auto* orbs = new QHBoxLayout;
    orbs->addWidget(plain_label(to_qt(texts::kLabelDoubleOrb), this));
    orbs->addWidget(OrbDouble);
    orbs->addSpacing(12);
    orbs->addWidget(plain_label(to_qt(texts::kLabelSimpleOrb), this));
    orbs->addWidget(OrbSimple);
    orbs->addSpacing(12);
    orbs->addWidget(StartButton);
    orbs->addStretch(1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(Progress, 1);
    progress->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(orbs);
    layout->addLayout(progress);
    layout->addWidget(Status);
    layout->addWidget(Table, 1);
    layout->addWidget(Problems);
    set_running(false);

    connect(FolderButton, &QPushButton::clicked, this, [this] { FolderClick(); });
    connect(StartButton, &QPushButton::clicked, this, [this] { StartClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(Table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { TableDoubleClick(row); });

    Rangliste1 = form_.Extras1->addAction(to_qt(texts::kMenuRanking));
    Rangliste1->setObjectName(QStringLiteral("Rangliste1"));
    connect(Rangliste1, &QAction::triggered, this, [this] { Rangliste1Click(); });
    form_.state_listeners.push_back([this] { Rangliste1->setEnabled(usable()); });
    Rangliste1->setEnabled(usable());
}

RankingWindow::~RankingWindow()
{
    // The worker's reports go to this window: stop it and wait before the window goes.
    stop_.request_stop();
    if (worker_.joinable()) worker_.join();
}

bool RankingWindow::usable() const
{
    return !form_.ended() && form_.person1_loaded() && form_.name2->isEnabled() &&
           !form_.waiting_for_halfsum_orb();
}

void RankingWindow::Rangliste1Click()
{
    if (!usable() || running_) return;
    const std::string initial = folder_.empty() ? drive_.resolve("c:\\astro\\daten").string() : folder_;
    const std::optional<std::string> chosen = choose_folder(initial);
    if (!chosen) return;
    folder_ = *chosen;
    FolderLabel->setText(to_qt(texts::kRankFolderLabel) + path_text(folder_));
    Table->setRowCount(0);
    Problems->hide();
    take_main_orbs();
    show();
    raise();
    activateWindow();
    Orbs orbs;
    if (read_orbs(orbs)) StartClick();
    else Status->setText(to_qt(texts::kRankEnterOrbs));
}

void RankingWindow::FolderClick()
{
    if (running_) return;
    const std::optional<std::string> chosen = choose_folder(folder_);
    if (!chosen) return;
    folder_ = *chosen;
    FolderLabel->setText(to_qt(texts::kRankFolderLabel) + path_text(folder_));
    StartClick();
}

void RankingWindow::take_main_orbs()
{
    // The main window's orb fields keep their texts once entered; a field of this window that
    // holds a readable orb of its own keeps it.
    const std::pair<QLineEdit*, QLineEdit*> fields[] = {{OrbDouble, form_.Edit1}, {OrbSimple, form_.Edit2}};
    for (const auto& [mine, main] : fields) {
        const bool mine_ok = read_orb(from_qt(mine->text())).ok;
        if (!mine_ok && read_orb(from_qt(main->text())).ok) mine->setText(main->text());
    }
}

bool RankingWindow::read_orbs(Orbs& orbs)
{
    const OrbReading d = read_orb(from_qt(OrbDouble->text()));
    const OrbReading s = read_orb(from_qt(OrbSimple->text()));
    orbs = {d.value, s.value, 0};
    if (!d.ok) OrbDouble->setFocus();
    else if (!s.ok) OrbSimple->setFocus();
    return d.ok && s.ok;
}

void RankingWindow::StartClick()
{
    if (running_ || !usable()) return;
    Orbs orbs;
    if (!read_orbs(orbs)) {
        Status->setText(to_qt(texts::kRankEnterOrbs));
        return;
    }
    if (worker_.joinable()) worker_.join();  // the last one has reported its end already

    // The worker gets copies: person 1 as loaded now, the folder, the orbs.
    const ChartState person1 = form_.chart;
    const std::string person1_path = form_.person1_path();
    const std::string folder = folder_;
    // Partners are loaded with the positions the main window's loads use.
    const PositionSource source = form_.position_source();
    stop_ = std::stop_source();
    const std::stop_token stop = stop_.get_token();
    Table->setRowCount(0);
    Problems->hide();
    Progress->setRange(0, 0);  // busy until the files are counted
    Status->setText(to_qt(texts::kRankSearching));
    set_running(true);

    worker_ = std::jthread([this, person1, person1_path, folder, orbs, stop, source] {
        PartnerFiles partners = find_partner_files({folder}, person1_path);
        const int total = static_cast<int>(std::min<std::size_t>(partners.files.size(), INT_MAX));
        QMetaObject::invokeMethod(this, [this, total] { Progress->setRange(0, total); }, Qt::QueuedConnection);
        RankOptions options;
        options.stop = stop;
        options.source = source;
        options.progress = [this](std::size_t done) {
            const int value = static_cast<int>(std::min<std::size_t>(done, INT_MAX));
            QMetaObject::invokeMethod(
                this, [this, value] { Progress->setValue(std::max(value, Progress->value())); },
                Qt::QueuedConnection);
        };
        Ranking ranking = rank_partners(person1, partners.files, orbs, options);
        QMetaObject::invokeMethod(
            this,
            [this, ranking = std::move(ranking), problems = std::move(partners.problems)]() mutable {
                finished(std::move(ranking), std::move(problems));
            },
            Qt::QueuedConnection);
    });
}

void RankingWindow::CancelClick()
{
    if (running_) stop_.request_stop();
}

void RankingWindow::finished(Ranking ranking, std::vector<RankProblem> folder_problems)
{
    set_running(false);
    if (ranking.cancelled) {
        Status->setText(to_qt(texts::kRankCancelled));
        return;
    }
    fill_table(ranking.entries);
    std::vector<RankProblem> problems = std::move(folder_problems);
    problems.insert(problems.end(), ranking.problems.begin(), ranking.problems.end());
    std::stable_sort(problems.begin(), problems.end(),
                     [](const RankProblem& a, const RankProblem& b) { return a.path < b.path; });
    Status->setText(QString::number(ranking.entries.size()) + to_qt(texts::kRankComparedAfter));
    if (!problems.empty()) {
        QStringList lines;
        lines << QString::number(problems.size()) + to_qt(texts::kRankProblemsAfter);
        for (const RankProblem& p : problems)
            lines << path_text(p.path) + QStringLiteral(": ") + to_qt(p.message);
        Problems->setPlainText(lines.join(QChar(u'\n')));
        Problems->show();
    }
    if (ranking.entries.empty()) desktop_.message(BoxType::warning, texts::kRankNoPartner, Buttons::ok);
}

void RankingWindow::fill_table(const std::vector<RankEntry>& entries)
{
    const std::vector<std::size_t> ranks = rank_numbers(entries);
    Table->setSortingEnabled(false);  // rows are filled in rank order, then sorted by the user
    Table->setRowCount(static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const RankEntry& e = entries[i];
        const int row = static_cast<int>(i);
        Table->setItem(row, kRank, number_item(ranks[i]));
        Table->setItem(row, kS, number_item(e.s()));
        Table->setItem(row, kD, number_item(e.d));
        Table->setItem(row, kE, number_item(e.e));
        Table->setItem(row, kL, number_item(e.l));
        Table->setItem(row, kName, new QTableWidgetItem(to_qt(e.name)));
        Table->setItem(row, kFirstName, new QTableWidgetItem(to_qt(e.first_name)));
        Table->setItem(row, kDate, new DateItem(to_qt(e.birth_date)));
        auto* path = new QTableWidgetItem(path_text(e.path));
        path->setData(Qt::UserRole, QByteArray::fromStdString(e.path));  // the file's own bytes
        path->setToolTip(path->text());  // the whole path where the column is too narrow
        Table->setItem(row, kPath, path);
    }
    Table->horizontalHeader()->setSortIndicator(kRank, Qt::AscendingOrder);
    Table->setSortingEnabled(true);
    fit_columns();
}

void RankingWindow::TableDoubleClick(int row)
{
    if (running_ || !usable()) return;
    const QTableWidgetItem* item = Table->item(row, kPath);
    if (item == nullptr) return;
    const std::string path = item->data(Qt::UserRole).toByteArray().toStdString();
    hide();
    form_.name2Open(path);
}

void RankingWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
        fit_columns();
    }
}

void RankingWindow::fit_columns()
{
    // Each column as wide as its widest cell and its header with the sort mark, whichever
    // column sorts: a header is never cut.
    Table->resizeColumnsToContents();
    QHeaderView* header = Table->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int mark = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    for (int c = 0; c < kPath; ++c) {
        const int text = header->fontMetrics().horizontalAdvance(Table->horizontalHeaderItem(c)->text());
        const int needed = std::max(header->sectionSizeHint(c), text + 4 * margin) + mark;
        if (Table->columnWidth(c) < needed) Table->setColumnWidth(c, needed);
    }
}

void RankingWindow::reject()
{
    CancelClick();
    QDialog::reject();
}

void RankingWindow::set_running(bool running)
{
    running_ = running;
    Progress->setVisible(running);
    CancelButton->setVisible(running);
    StartButton->setEnabled(!running);
    FolderButton->setEnabled(!running);
    OrbDouble->setEnabled(!running);
    OrbSimple->setEnabled(!running);
    if (!running) Progress->reset();
}

}  // namespace duoskop
