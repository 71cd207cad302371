// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/kartei_window.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

#include "base/cp1252.h"
#include "base/io_error.h"
#include "base/trash.h"
#include "desktop/desktop_texts.h"
#include "desktop/first_frame.h"
#include "desktop/kartei_dialog.h"
#include "desktop/picture_colours.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/unit1.h"
#include "desktop/window_habits.h"
#include "kartei/exchange_files.h"
#include "kartei/folder_checks.h"
#include "kartei/kartei_texts.h"

namespace duoskop {

namespace {

constexpr int sort_role = Qt::UserRole + 1;
constexpr int entry_role = Qt::UserRole + 2;

QString utf8(const std::string& text) { return QString::fromStdString(text); }

QString file_path(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

/// Lower case without accents, so that "muller" finds Müller.
QString folded(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toCaseFolded();
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) plain.append(c);
    return plain;
}

}  // namespace

/// Lets a row through when each word of the filter is found in one of its cells.
class KarteiFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void set_words(const QString& text)
    {
        words_ = folded(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (words_.isEmpty()) return true;
        QString cells;
        for (int c = 0; c < sourceModel()->columnCount(); ++c)
            cells += folded(sourceModel()->index(row, c, parent).data().toString()) + QLatin1Char('\n');
        for (const QString& word : words_)
            if (!cells.contains(word)) return false;
        return true;
    }

private:
    QStringList words_;
};

KarteiWindow::KarteiWindow(Desktop& desktop, DriveC drive, TForm1* main_window, QWidget* parent,
                           FirstListing first_listing)
    : QMainWindow(parent), desktop_(desktop), drive_(std::move(drive)), main_window_(main_window),
      root_(drive_.resolve("c:\\astro\\daten")), read_only_(in_sample_drive(root_))
{
    setObjectName(QStringLiteral("KarteiWindow"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(texts::kCaptionKartei));
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* layout = new QVBoxLayout(client);

    auto* filter_row = new QHBoxLayout;
    auto* filter_label = plain_label(to_qt(texts::kKarteiFilter), client);
    FilterEdit = new QLineEdit(client);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setPlaceholderText(to_qt(texts::kKarteiFilterHint));
    FilterEdit->setClearButtonEnabled(true);
    filter_label->setBuddy(FilterEdit);
    filter_row->addWidget(filter_label);
    filter_row->addWidget(FilterEdit, 1);
    layout->addLayout(filter_row);

    model_ = new QStandardItemModel(0, column_count, this);
    const std::string_view headers[column_count] = {
        texts::kColumnName,      texts::kColumnFirstName, texts::kColumnDate,   texts::kColumnTime,
        texts::kColumnExtra,     texts::kColumnLongitude, texts::kColumnLatitude, texts::kColumnSun,
        texts::kColumnMc,        texts::kColumnAs,        texts::kColumnFolder, texts::kColumnFile,
        texts::kColumnReason};
    for (int c = 0; c < column_count; ++c) model_->setHorizontalHeaderItem(c, new QStandardItem(to_qt(headers[c])));
    filter_ = new KarteiFilter(this);
    filter_->setSourceModel(model_);
    filter_->setSortRole(sort_role);
    filter_->setSortCaseSensitivity(Qt::CaseInsensitive);

    Table = new QTableView(client);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setAccessibleName(to_qt(texts::kA11yCharts));
    Table->setAccessibleDescription(to_qt(texts::kA11yChartsInfo));
    Table->setModel(filter_);
    Table->setSortingEnabled(true);
    Table->sortByColumn(name, Qt::AscendingOrder);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setAlternatingRowColors(true);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 8);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->setTextElideMode(Qt::ElideMiddle);
    layout->addWidget(Table, 1);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* object_name, std::string_view caption) {
        auto* b = new QPushButton(to_qt(caption), client);
        b->setObjectName(QString::fromLatin1(object_name));
        buttons->addWidget(b);
        return b;
    };
    NewButton = button("NewButton", texts::kButtonNew);
    EditButton = button("EditButton", texts::kButtonEdit);
    CopyButton = button("CopyButton", texts::kButtonCopy);
    DeleteButton = button("DeleteButton", texts::kButtonDelete);
    buttons->addSpacing(16);
    ImportButton = button("ImportButton", texts::kButtonImportCharts);
    ExportButton = button("ExportButton", texts::kButtonExportCharts);
    buttons->addStretch(1);
    Person1Button = button("Person1Button", texts::kButtonAsPerson1);
    Person2Button = button("Person2Button", texts::kButtonAsPerson2);
    layout->addLayout(buttons);
    StatusLabel = plain_label(client);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    layout->addWidget(StatusLabel);

    connect(NewButton, &QPushButton::clicked, this, [this] { newClick(); });
    connect(EditButton, &QPushButton::clicked, this, [this] { editClick(); });
    connect(CopyButton, &QPushButton::clicked, this, [this] { copyClick(); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { deleteClick(); });
    connect(Person1Button, &QPushButton::clicked, this, [this] { person1Click(); });
    connect(Person2Button, &QPushButton::clicked, this, [this] { person2Click(); });
    connect(ImportButton, &QPushButton::clicked, this, [this] { importClick(); });
    connect(ExportButton, &QPushButton::clicked, this, [this] { exportClick(); });
    connect(Table, &QTableView::doubleClicked, this, [this] { editClick(); });
    connect(FilterEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->set_words(text);
        update_buttons();
    });
    connect(Table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { update_buttons(); });

    // Changes on disk: a burst of them (a save is a write and a rename) is read once.
    watcher_ = new QFileSystemWatcher(this);
    rescan_ = new QTimer(this);
    rescan_->setSingleShot(true);
    rescan_->setInterval(150);
    connect(rescan_, &QTimer::timeout, this, [this] { refresh(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, rescan_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, rescan_, qOverload<>(&QTimer::start));

    if (main_window_ == nullptr) {
        Person1Button->hide();
        Person2Button->hide();
    } else {
        QPointer<KarteiWindow> self(this);
        main_window_->state_listeners.push_back([self] {
            if (self) self->update_buttons();
        });
    }
    record_table_keys(*Table, [this] { editClick(); }, [this] { deleteClick(); });
    close_on_escape(*this);
    resize(1000, 520);
    if (first_listing == FirstListing::now) {
        refresh();
    } else {
        update_buttons();
        after_first_frame(this, [this] { refresh(); });
    }
    FilterEdit->setFocus();  // typing narrows the list at once
}

KarteiWindow::~KarteiWindow() = default;

void KarteiWindow::refresh()
{
    std::set<std::filesystem::path> chosen;
    for (const KarteiEntry* e : selected()) chosen.insert(e->path);
    listing_ = list_charts(root_);
    fill_model();
    watch();
    Table->selectionModel()->clearSelection();
    for (int row = 0; row < filter_->rowCount(); ++row) {
        const auto i = filter_->index(row, 0).data(entry_role).toULongLong();
        if (i < listing_.entries.size() && chosen.count(listing_.entries[i].path) != 0)
            Table->selectionModel()->select(filter_->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    update_buttons();
}

void KarteiWindow::fill_model()
{
    model_->removeRows(0, model_->rowCount());
    int broken = 0;
    const QColor refused_colour = colours_for(palette()).refused;  // light or dark with the window
    for (std::size_t i = 0; i < listing_.entries.size(); ++i) {
        const KarteiEntry& e = listing_.entries[i];
        QList<QStandardItem*> row;
        const auto add = [&row](const QString& text, const QVariant& key) {
            auto* item = new QStandardItem(text);
            item->setData(key.isValid() ? key : QVariant(folded(text)), sort_role);
            row.append(item);
        };
        const chart_record& r = e.record;
        if (e.readable) {
            add(to_qt(r.name), {});
            add(to_qt(r.first_name), {});
            add(to_qt(r.date), QVariant::fromValue(static_cast<double>(birth_sort_key(e.birth))));
            add(to_qt(r.time), QVariant::fromValue(e.birth.birth_time));
            add(to_qt(r.extra), {});
            add(to_qt(coordinate_text(e.birth.geo_longitude, texts::kEast, texts::kWest)),
                QVariant::fromValue(e.birth.geo_longitude));
            add(to_qt(coordinate_text(e.birth.geo_latitude, texts::kNorth, texts::kSouth)),
                QVariant::fromValue(e.birth.geo_latitude));
            add(to_qt(position_text(e.positions[2])), QVariant::fromValue(e.positions[2]));
            add(to_qt(position_text(e.positions[0])), QVariant::fromValue(e.positions[0]));
            add(to_qt(position_text(e.positions[3])), QVariant::fromValue(e.positions[3]));
        } else {
            // Before every readable chart, whichever column sorts.
            for (int c = name; c <= as; ++c) {
                const bool number = c == date || c == time || c >= longitude;
                add(QString(), number ? QVariant::fromValue(-1e9) : QVariant(QString()));
            }
        }
        add(utf8(e.folder), {});
        add(utf8(e.file_name), {});
        add(to_qt(e.reason), {});
        const QString tip = e.loadable ? file_path(e.path) : file_path(e.path) + QStringLiteral("\n") + to_qt(e.reason);
        for (QStandardItem* item : row) {
            item->setData(QVariant::fromValue(static_cast<qulonglong>(i)), entry_role);
            item->setToolTip(tip);
            if (!e.loadable) item->setForeground(refused_colour);
        }
        if (e.readable && r.time == "12:00:00") row[time]->setToolTip(to_qt(texts::kUnknownTime));
        if (!e.loadable) ++broken;
        model_->appendRow(row);
    }
    const std::size_t count = listing_.entries.size();
    QString status = QString::number(count) + to_qt(count == 1 ? texts::kKarteiCountOne : texts::kKarteiCount);
    if (broken > 0) status += to_qt(texts::kKarteiBroken) + QString::number(broken);
    // A subfolder that cannot be read is named, not skipped in silence.
    const std::vector<std::string> unreadable = unreadable_folders(root_, listing_.folders);
    for (const std::string& folder : unreadable)
        status += QStringLiteral("   \u2013   ") + to_qt(texts::kFolderUnreadableBefore) + utf8(folder) +
                  to_qt(texts::kFolderUnreadableAfter);
    status += QStringLiteral("   \u2013   ") + file_path(root_);
    // The sample drive of the installation (no personal drive could be made): read, never written.
    if (read_only_) status += QStringLiteral("   \u2013   ") + to_qt(texts::kKarteiReadOnly);
    StatusLabel->setText(status);
    Table->resizeColumnsToContents();
    // One long text (a reason naming a path, a deep folder) takes no more than a column's share
    // and is shortened in the middle; the cell's tooltip holds it whole.
    const int widest = Table->fontMetrics().averageCharWidth() * widest_column_characters;
    for (int c = 0; c < column_count; ++c)
        if (Table->columnWidth(c) > widest) Table->setColumnWidth(c, widest);
}

void KarteiWindow::watch()
{
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    QStringList paths;
    for (const auto& folder : listing_.folders) paths << file_path(folder);
    // Files too: a chart rewritten in place changes no folder.
    for (const KarteiEntry& e : listing_.entries) paths << file_path(e.path);
    if (!paths.isEmpty()) watcher_->addPaths(paths);
}

std::vector<const KarteiEntry*> KarteiWindow::selected() const
{
    std::vector<const KarteiEntry*> entries;
    QModelIndexList rows = Table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : rows) {
        const auto i = index.data(entry_role).toULongLong();
        if (i < listing_.entries.size()) entries.push_back(&listing_.entries[i]);
    }
    return entries;
}

bool KarteiWindow::select_path(const std::filesystem::path& path)
{
    Table->selectionModel()->clearSelection();
    for (int row = 0; row < filter_->rowCount(); ++row) {
        const auto i = filter_->index(row, 0).data(entry_role).toULongLong();
        if (i < listing_.entries.size() && listing_.entries[i].path == path) {
            Table->selectionModel()->setCurrentIndex(filter_->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                                 QItemSelectionModel::Rows);
            Table->scrollTo(filter_->index(row, 0));
            return true;
        }
    }
    return false;
}

int KarteiWindow::visible_rows() const { return filter_->rowCount(); }

QString KarteiWindow::cell(int row, Column column) const { return filter_->index(row, column).data().toString(); }

void KarteiWindow::update_buttons()
{
    const auto chosen = selected();
    const bool one = chosen.size() == 1;
    const bool one_readable = one && chosen.front()->readable;
    const bool one_loadable = one && chosen.front()->loadable;
    NewButton->setEnabled(!read_only_);
    EditButton->setEnabled(one_readable && !read_only_);
    CopyButton->setEnabled(one_readable && !read_only_);
    DeleteButton->setEnabled(!chosen.empty() && !read_only_);
    ImportButton->setEnabled(!read_only_);
    ExportButton->setEnabled(!chosen.empty());
    // Handing over goes where the main window's own "Name" entries would let it.
    const bool main_open = main_window_ != nullptr && !main_window_->ended();
    Person1Button->setEnabled(one_loadable && main_open && main_window_->name1->isEnabled());
    Person2Button->setEnabled(one_loadable && main_open && main_window_->name2->isEnabled());
}

void KarteiWindow::run_dialog(KarteiDialog::Mode mode, const KarteiEntry* from)
{
    std::vector<std::string> folders;
    for (std::size_t i = 1; i < listing_.folders.size(); ++i)
        folders.push_back(valid_utf8(listing_.folders[i].lexically_relative(root_).generic_string()));
    KarteiDialog dialog(desktop_, root_, folders, mode, from, atlas(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::filesystem::path saved = dialog.saved_path();
    refresh();
    if (!select_path(saved)) {
        FilterEdit->clear();
        select_path(saved);
    }
}

void KarteiWindow::newClick()
{
    if (read_only_) return;
    const auto chosen = selected();
    // A new chart starts in the folder of the chart selected, where a family is kept together.
    KarteiEntry place;
    if (chosen.size() == 1) place.folder = chosen.front()->folder;
    run_dialog(KarteiDialog::Mode::create, chosen.size() == 1 ? &place : nullptr);
}

void KarteiWindow::editClick()
{
    if (read_only_) return;
    const auto chosen = selected();
    if (chosen.size() != 1 || !chosen.front()->readable) return;
    const KarteiEntry entry = *chosen.front();
    run_dialog(KarteiDialog::Mode::edit, &entry);
}

void KarteiWindow::copyClick()
{
    if (read_only_) return;
    const auto chosen = selected();
    if (chosen.size() != 1 || !chosen.front()->readable) return;
    const KarteiEntry entry = *chosen.front();
    run_dialog(KarteiDialog::Mode::copy, &entry);
}

void KarteiWindow::deleteClick()
{
    if (read_only_) return;
    const auto chosen = selected();
    if (chosen.empty()) return;
    std::string names;
    for (const KarteiEntry* e : chosen) {
        if (!names.empty()) names += "\r   ";
        const std::string shown = (e->folder.empty() ? "" : e->folder + "/") + e->file_name;
        names += from_qt(utf8(shown));
        if (e->readable) names += "  (" + e->record.first_name + " " + e->record.name + ")";
    }
    if (desktop_.message(BoxType::confirmation,
                         std::string(texts::kAskDeleteBefore) + names + std::string(texts::kAskDeleteAfter),
                         Buttons::yes_no) != Answer::yes)
        return;
    std::vector<std::filesystem::path> paths;
    for (const KarteiEntry* e : chosen) paths.push_back(e->path);
    // The user's trash (made when missing); a file that cannot go there stays, and the user is told.
    for (const auto& path : paths) {
        if (const TrashResult trashed = move_to_trash(path); !trashed.ok())
            desktop_.message(BoxType::error,
                             std::string(texts::kWriteFailedBefore) + from_qt(file_path(path)) +
                                 std::string(texts::kTrashFailed) + "\r" + io_error_text(trashed.error),
                             Buttons::ok);
    }
    refresh();
}

void KarteiWindow::person1Click()
{
    update_buttons();
    const auto chosen = selected();
    if (!Person1Button->isEnabled() || chosen.size() != 1) return;
    const std::string path = chosen.front()->path.string();
    main_window_->raise();
    main_window_->activateWindow();
    main_window_->name1Open(path);
}

void KarteiWindow::person2Click()
{
    update_buttons();
    const auto chosen = selected();
    if (!Person2Button->isEnabled() || chosen.size() != 1) return;
    const std::string path = chosen.front()->path.string();
    main_window_->raise();
    main_window_->activateWindow();
    main_window_->name2Open(path);
}

const Atlas* KarteiWindow::atlas()
{
    if (!atlas_read_) {
        atlas_read_ = true;
        std::string error;
        atlas_ = Atlas::load(atlas_path(), error);
    }
    return atlas_ ? &*atlas_ : nullptr;
}

void KarteiWindow::importClick()
{
    if (read_only_) return;
    const auto chosen = selected();
    const std::string folder = chosen.size() == 1 ? chosen.front()->folder : std::string();
    const auto file = desktop_.open_file_of(QDir::homePath().toStdString(), cp1252_to_utf8(texts::kImportFilter));
    if (!file) return;
    const ImportResult result = import_charts(*file, root_, folder, atlas());
    if (!result.error.empty()) {
        desktop_.message(BoxType::error, std::string(texts::kImportFailed) + from_qt(utf8(result.error)), Buttons::ok);
        return;
    }
    refresh();
    if (!result.written.empty()) select_path(result.written.front());
    const std::string shown = folder.empty() ? cp1252_to_utf8(texts::kRootFolder) : folder;
    desktop_.message(result.skipped.empty() ? BoxType::information : BoxType::warning,
                     import_summary(result, shown, 20), Buttons::ok);
}

void KarteiWindow::exportClick()
{
    std::vector<KarteiEntry> chosen;
    for (const KarteiEntry* e : selected()) chosen.push_back(*e);
    if (chosen.empty()) return;
    const auto target = desktop_.save_file_as(QDir::homePath().toStdString(), std::string(texts::kAafSuggested),
                                              cp1252_to_utf8(texts::kAafFilter));
    if (!target) return;
    const ExportResult result = export_charts(chosen, *target);
    if (!result.error.empty()) {
        desktop_.message(BoxType::error,
                         std::string(texts::kWriteFailedBefore) + from_qt(utf8(valid_utf8(*target))) +
                             std::string(texts::kWriteFailedAfter) + from_qt(utf8(result.error)),
                         Buttons::ok);
        return;
    }
    std::string text = std::to_string(result.written) + std::string(texts::kExportWrittenBefore) +
                       from_qt(utf8(valid_utf8(*target)));
    if (!result.skipped.empty()) {
        text += "\r\r" + std::string(texts::kExportSkipped);
        for (std::size_t i = 0; i < result.skipped.size(); ++i)
            text += (i == 0 ? "" : ", ") + from_qt(utf8(result.skipped[i]));
    }
    desktop_.message(result.skipped.empty() ? BoxType::information : BoxType::warning, text, Buttons::ok);
}

}  // namespace duoskop
