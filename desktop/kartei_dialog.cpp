// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/kartei_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QTimer>
#include <QVBoxLayout>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "base/cp1252.h"
#include "base/io_error.h"
#include "base/trash.h"
#include "birth/chart_input.h"
#include "desktop/desktop_texts.h"
#include "desktop/picture_colours.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/window_habits.h"
#include "base/texts.h"
#include "kartei/folder_checks.h"
#include "kartei/kartei_texts.h"
#include "kartei/listing.h"

namespace duoskop {

namespace {

QString utf8(const std::string& text) { return QString::fromStdString(text); }

QSpinBox* spin(QWidget* parent, const char* name, int maximum, const QString& suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, maximum);
    box->setSuffix(suffix);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QComboBox* direction(QWidget* parent, const char* name, std::string_view positive, std::string_view negative)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItem(to_qt(positive));
    box->addItem(to_qt(negative));
    return box;
}

/// A population with points between thousands, as German writes it: 1.260.391.
std::string population_text(std::int64_t n)
{
    std::string digits = std::to_string(n < 0 ? 0 : n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ".");
    return digits;
}

/// "München, Bayern, DE, 1.260.391 Einw." (UTF-8): enough to tell places of one name apart.
QString place_label(const Place& p)
{
    QString text = utf8(p.name);
    if (!p.region.empty()) text += QStringLiteral(", ") + utf8(p.region);
    text += QStringLiteral(", ") + utf8(p.country);
    if (p.population > 0) text += QStringLiteral(", ") + utf8(population_text(p.population)) + to_qt(texts::kInhabitants);
    return text;
}

DegreesMinutes degrees_minutes_of(double degrees)
{
    const long seconds = std::lround(std::fabs(degrees) * 3600);
    return {static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
            degrees < 0 && seconds != 0};
}

/// "die frühere: 29.10.1950 00:30:00 UT (CEST, UTC+02:00)"
QString reading_text(std::string_view which, const UniversalTime& t)
{
    return to_qt(std::string(which) + civil_time_text(t.ut) + " UT (" + t.abbreviation + ", " +
                 offset_text(t.offset_seconds) + ")");
}

}  // namespace

KarteiDialog::KarteiDialog(Desktop& desktop, std::filesystem::path root, const std::vector<std::string>& folders,
                           Mode mode, const KarteiEntry* from, const Atlas* atlas, QWidget* parent)
    : QDialog(parent), desktop_(desktop), atlas_(atlas), root_(std::move(root)), mode_(mode)
{
    setObjectName(QStringLiteral("KarteiDialog"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(mode == Mode::create ? texts::kCaptionNewChart
                         : mode == Mode::edit ? texts::kCaptionEditChart
                                              : texts::kCaptionCopyChart));
    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto add_row = [&](std::string_view caption, QWidget* field, std::optional<DraftField> refused) {
        auto* label = plain_label(to_qt(caption), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        if (refused) {
            auto* reason = plain_label(this);
            reason->setObjectName(QStringLiteral("Refusal%1").arg(static_cast<int>(*refused)));
            reason->setWordWrap(true);
            // Room for a few words a line at any font size; the dialog grows for longer reasons.
            reason->setMinimumWidth(reason->fontMetrics().averageCharWidth() * 40);
            QPalette palette = reason->palette();
            palette.setColor(QPalette::WindowText, colours_for(palette).refused);
            reason->setPalette(palette);
            grid->addWidget(reason, row, 2);
            RefusalLabels[static_cast<std::size_t>(*refused)] = reason;
        }
        ++row;
    };
    const auto line = [this](const char* name, const char* placeholder) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(QString::fromLatin1(placeholder));
        return edit;
    };

    NameEdit = line("NameEdit", "");
    FirstNameEdit = line("FirstNameEdit", "");
    DateEdit = line("DateEdit", "TT.MM.JJJJ");
    add_row(texts::kFieldName, NameEdit, DraftField::name);
    add_row(texts::kFieldFirstName, FirstNameEdit, DraftField::first_name);
    add_row(texts::kFieldDate, DateEdit, DraftField::date);

    auto* time_row = new QWidget(this);
    auto* time_layout = new QHBoxLayout(time_row);
    time_layout->setContentsMargins(0, 0, 0, 0);
    TimeEdit = line("TimeEdit", "HH:MM:SS");
    TimeKindBox = new QComboBox(time_row);
    TimeKindBox->setObjectName(QStringLiteral("TimeKindBox"));
    TimeKindBox->addItem(to_qt(texts::kFieldTimeUniversal));
    TimeKindBox->addItem(to_qt(texts::kFieldTimeLocal));
    UnknownBox = new QCheckBox(to_qt(texts::kFieldTimeUnknown), time_row);
    UnknownBox->setObjectName(QStringLiteral("UnknownBox"));
    time_layout->addWidget(TimeEdit, 1);
    time_layout->addWidget(TimeKindBox);
    time_layout->addWidget(UnknownBox);
    add_row(texts::kFieldTime, time_row, DraftField::time);

    // The question for a local time the clocks showed twice; only shown then.
    ReadingRow = new QWidget(this);
    // The question above its answers, so that both readings show whole with their universal times.
    auto* reading_layout = new QVBoxLayout(ReadingRow);
    reading_layout->setContentsMargins(0, 0, 0, 0);
    auto* reading_label = plain_label(to_qt(texts::kFieldReading), ReadingRow);
    reading_label->setWordWrap(true);
    reading_layout->addWidget(reading_label);
    ReadingBox = new QComboBox(ReadingRow);
    ReadingBox->setObjectName(QStringLiteral("ReadingBox"));
    ReadingBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ReadingBox->addItems({QStringLiteral("\u2013"), QString(), QString()});
    reading_layout->addWidget(ReadingBox, 0, Qt::AlignLeft);
    grid->addWidget(ReadingRow, row++, 1, 1, 2);
    ReadingRow->hide();

    PlaceEdit = line("PlaceEdit", "");
    PlaceEdit->setPlaceholderText(to_qt(texts::kFieldPlaceHint));
    place_model_ = new QStandardItemModel(this);
    place_completer_ = new QCompleter(place_model_, this);
    place_completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    place_completer_->setWidget(PlaceEdit);
    add_row(texts::kFieldPlace, PlaceEdit, std::nullopt);
    if (atlas_ == nullptr) PlaceEdit->setEnabled(false);

    const auto coordinate_row = [this](QSpinBox*& degrees, QSpinBox*& minutes, QSpinBox*& seconds,
                                       QComboBox*& way, const char* prefix, int limit,
                                       std::string_view positive, std::string_view negative) {
        auto* holder = new QWidget(this);
        auto* layout = new QHBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        const std::string p(prefix);
        degrees = spin(holder, (p + "Degrees").c_str(), limit, QStringLiteral("\u00B0"));
        minutes = spin(holder, (p + "Minutes").c_str(), 59, QStringLiteral("'"));
        seconds = spin(holder, (p + "Seconds").c_str(), 59, QStringLiteral("\""));
        way = direction(holder, (p + "Direction").c_str(), positive, negative);
        for (QWidget* w : std::initializer_list<QWidget*>{degrees, minutes, seconds, way}) layout->addWidget(w);
        layout->addStretch(1);
        return holder;
    };
    add_row(texts::kFieldLongitude,
            coordinate_row(LonDegrees, LonMinutes, LonSeconds, LonDirection, "Lon", 180, texts::kEast, texts::kWest),
            DraftField::longitude);
    add_row(texts::kFieldLatitude,
            coordinate_row(LatDegrees, LatMinutes, LatSeconds, LatDirection, "Lat", 90, texts::kNorth, texts::kSouth),
            DraftField::latitude);

    auto* zone_row = new QWidget(this);
    auto* zone_layout = new QHBoxLayout(zone_row);
    zone_layout->setContentsMargins(0, 0, 0, 0);
    ZoneBox = new QComboBox(zone_row);
    ZoneBox->setObjectName(QStringLiteral("ZoneBox"));
    ZoneBox->setEditable(true);
    ZoneBox->setInsertPolicy(QComboBox::NoInsert);
    ZoneBox->addItems({QString(), QStringLiteral("LMT"), QStringLiteral("UTC")});
    ZoneBox->lineEdit()->setPlaceholderText(to_qt(texts::kFieldZoneHint));
    ZoneInfoLabel = plain_label(zone_row);
    ZoneInfoLabel->setObjectName(QStringLiteral("ZoneInfoLabel"));
    zone_layout->addWidget(ZoneBox, 1);
    zone_layout->addWidget(ZoneInfoLabel);
    add_row(texts::kFieldZone, zone_row, DraftField::zone);

    ExtraEdit = line("ExtraEdit", "");
    add_row(texts::kFieldExtra, ExtraEdit, DraftField::extra);
    FolderBox = new QComboBox(this);
    FolderBox->setObjectName(QStringLiteral("FolderBox"));
    FolderBox->setEditable(true);
    FolderBox->setInsertPolicy(QComboBox::NoInsert);
    FolderBox->addItem(to_qt(texts::kRootFolder));
    for (const std::string& folder : folders) FolderBox->addItem(utf8(folder));
    add_row(texts::kFieldFolder, FolderBox, DraftField::folder);

    PreviewLabel = plain_label(this);
    PreviewLabel->setObjectName(QStringLiteral("PreviewLabel"));
    PreviewLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for its four lines (local time, universal time, positions, file) at any font size.
    PreviewLabel->setMinimumHeight(4 * PreviewLabel->fontMetrics().lineSpacing() + 2 * PreviewLabel->margin() + 4);
    PreviewLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    add_row(texts::kFieldPreview, PreviewLabel, std::nullopt);
    // Its caption stands beside the first of the result lines.
    if (QLayoutItem* caption = grid->itemAtPosition(row - 1, 0); caption != nullptr && caption->widget() != nullptr)
        grid->setAlignment(caption->widget(), Qt::AlignLeft | Qt::AlignTop);

    // For a screen reader: the fields of the rows whose label names the row as a whole.
    TimeEdit->setAccessibleName(to_qt(texts::kA11yChartTime));
    TimeEdit->setAccessibleDescription(to_qt(texts::kA11yChartTimeInfo));
    TimeKindBox->setAccessibleName(to_qt(texts::kA11yChartTimeKind));
    ReadingBox->setAccessibleName(to_qt(texts::kA11yChartReading));
    ZoneBox->setAccessibleName(to_qt(texts::kA11yChartZone));
    const auto name_coordinate = [](std::string_view which, std::initializer_list<QWidget*> parts) {
        std::size_t i = 0;
        for (QWidget* part : parts) part->setAccessibleName(to_qt(std::string(which) + std::string(texts::kA11yCoordinateParts[i++])));
    };
    name_coordinate(texts::kA11yChartLongitude, {LonDegrees, LonMinutes, LonSeconds, LonDirection});
    name_coordinate(texts::kA11yChartLatitude, {LatDegrees, LatMinutes, LatSeconds, LatDirection});
    FolderBox->setAccessibleName(to_qt(texts::kFieldFolder).remove(QChar(u'&')).remove(QChar(u':')));
    // A choice's list, and the field of one that takes typing, read with the choice's name.
    for (QComboBox* box : {TimeKindBox, ReadingBox, LonDirection, LatDirection, ZoneBox, FolderBox}) {
        box->view()->setAccessibleName(box->accessibleName());
        if (box->lineEdit() != nullptr) box->lineEdit()->setAccessibleName(box->accessibleName());
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    SaveButton = new QPushButton(to_qt(texts::kButtonSaveChart), this);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SaveButton->setDefault(true);
    CancelButton = new QPushButton(to_qt(texts::kButtonCancel), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(SaveButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, row, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    if (from != nullptr && from->readable) {
        set_draft(draft_of(from->record, from->folder));
        if (mode == Mode::edit) original_ = from->path;
        // A copy is offered a folder where its file name is still free, before anything is typed.
        if (mode == Mode::copy) {
            const std::string folder = copy_folder(root_, from->record.name, from->folder, folders);
            FolderBox->setEditText(folder.empty() ? to_qt(texts::kRootFolder) : utf8(folder));
        }
    } else {
        ChartDraft fresh;
        fresh.local_time = true;  // a birth certificate gives the local clock time
        set_draft(fresh);
        if (from != nullptr) FolderBox->setEditText(from->folder.empty() ? to_qt(texts::kRootFolder) : utf8(from->folder));
    }

    for (QLineEdit* edit : {NameEdit, FirstNameEdit, DateEdit, TimeEdit, ExtraEdit})
        connect(edit, &QLineEdit::textChanged, this, [this] { update_check(); });
    for (QSpinBox* box : {LonDegrees, LonMinutes, LonSeconds, LatDegrees, LatMinutes, LatSeconds})
        connect(box, &QSpinBox::valueChanged, this, [this] { update_check(); });
    for (QComboBox* box : {LonDirection, LatDirection})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { update_check(); });
    connect(FolderBox, &QComboBox::editTextChanged, this, [this] { update_check(); });
    connect(ZoneBox, &QComboBox::editTextChanged, this, [this] { update_check(); });
    connect(TimeKindBox, &QComboBox::currentIndexChanged, this, [this] { update_check(); });
    connect(ReadingBox, &QComboBox::currentIndexChanged, this, [this] { update_check(); });
    connect(PlaceEdit, &QLineEdit::textEdited, this, [this](const QString& text) { placeEdited(text); });
    connect(place_completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                const auto i = static_cast<std::size_t>(index.data(Qt::UserRole).toULongLong());
                if (i < places_.size()) placeChosen(places_[i]);
            });
    connect(UnknownBox, &QCheckBox::toggled, this, [this](bool unknown) {
        TimeEdit->setEnabled(!unknown);
        update_check();
    });
    connect(SaveButton, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    update_check();
}

ChartDraft KarteiDialog::draft() const
{
    ChartDraft d;
    d.name = NameEdit->text().toStdString();
    d.first_name = FirstNameEdit->text().toStdString();
    d.date = DateEdit->text().toStdString();
    d.time = TimeEdit->text().toStdString();
    d.time_unknown = UnknownBox->isChecked();
    d.longitude = {LonDegrees->value(), LonMinutes->value(), LonSeconds->value(), LonDirection->currentIndex() == 1};
    d.latitude = {LatDegrees->value(), LatMinutes->value(), LatSeconds->value(), LatDirection->currentIndex() == 1};
    d.local_time = TimeKindBox->currentIndex() == 1;
    d.zone = ZoneBox->currentText().toStdString();
    d.reading = ReadingBox->currentIndex() == 1   ? Ambiguous::earlier
                : ReadingBox->currentIndex() == 2 ? Ambiguous::later
                                                  : Ambiguous::refuse;
    d.extra = ExtraEdit->text().toStdString();
    const QString folder = FolderBox->currentText();
    d.folder = folder == to_qt(texts::kRootFolder) ? std::string() : folder.toStdString();
    return d;
}

void KarteiDialog::set_draft(const ChartDraft& d)
{
    filling_ = true;
    NameEdit->setText(utf8(d.name));
    FirstNameEdit->setText(utf8(d.first_name));
    DateEdit->setText(utf8(d.date));
    TimeEdit->setText(utf8(d.time_unknown ? std::string() : d.time));
    UnknownBox->setChecked(d.time_unknown);
    TimeEdit->setEnabled(!d.time_unknown);
    LonDegrees->setValue(d.longitude.degrees);
    LonMinutes->setValue(d.longitude.minutes);
    LonSeconds->setValue(d.longitude.seconds);
    LonDirection->setCurrentIndex(d.longitude.negative ? 1 : 0);
    LatDegrees->setValue(d.latitude.degrees);
    LatMinutes->setValue(d.latitude.minutes);
    LatSeconds->setValue(d.latitude.seconds);
    LatDirection->setCurrentIndex(d.latitude.negative ? 1 : 0);
    TimeKindBox->setCurrentIndex(d.local_time ? 1 : 0);
    ZoneBox->setEditText(utf8(d.zone));
    ReadingBox->setCurrentIndex(d.reading == Ambiguous::earlier ? 1 : d.reading == Ambiguous::later ? 2 : 0);
    ExtraEdit->setText(utf8(d.extra));
    FolderBox->setEditText(d.folder.empty() ? to_qt(texts::kRootFolder) : utf8(d.folder));
    filling_ = false;
    update_check();
}

std::string KarteiDialog::refusal(DraftField field) const
{
    return RefusalLabels[static_cast<std::size_t>(field)]->text().toStdString();
}

void KarteiDialog::update_check()
{
    if (filling_) return;
    const DraftCheck check = check_draft(draft());
    // An untouched empty form refuses nothing yet; it only cannot be saved.
    const bool blank = NameEdit->text().isEmpty() && DateEdit->text().isEmpty();
    for (std::size_t f = 0; f < draft_field_count; ++f)
        RefusalLabels[f]->setText(blank ? QString() : utf8(check.refusals[f]));
    SaveButton->setEnabled(check.ok());
    // A longer reason or preview takes more room: the dialog grows rather than cut it.
    QTimer::singleShot(0, this, [this] { grow_to_fit(*this); });
    const bool local = TimeKindBox->currentIndex() == 1;
    ZoneBox->setEnabled(local);
    // The question for a time the clocks showed twice, with both readings.
    ReadingRow->setVisible(local && check.twice);
    if (check.twice) {
        ReadingBox->setItemText(1, reading_text(texts::kReadingEarlier, check.earlier));
        ReadingBox->setItemText(2, reading_text(texts::kReadingLater, check.later));
    }
    ZoneInfoLabel->setText(check.universal ? utf8(check.universal->abbreviation) + QStringLiteral(", ") +
                                                 utf8(offset_text(check.universal->offset_seconds))
                                           : QString());
    if (!check.ok()) {
        PreviewLabel->setText(QStringLiteral("\u2013"));
        return;
    }
    const ChartPreview preview = chart_preview(check.record);
    QString local_line;
    if (check.universal) {
        const ChartDraft d = draft();
        local_line = to_qt(std::string(texts::kPreviewLocal)) + utf8(d.date) + QStringLiteral(" ") + utf8(d.time) +
                     QStringLiteral(" ") + ZoneInfoLabel->text() + QStringLiteral("\n");
    }
    const std::string file = (check.folder.empty() ? std::string() : check.folder + "/") +
                             valid_utf8(planned_file(root_, check.record, check.folder, original_).filename().string());
    PreviewLabel->setText(local_line + to_qt(std::string(texts::kPreviewUniversal) + preview.universal) +
                          QStringLiteral("\n") +
                          to_qt(std::string(texts::kColumnSun) + " " + preview.sun + "   " +
                                std::string(texts::kColumnMc) + " " + preview.mc + "   " +
                                std::string(texts::kColumnAs) + " " + preview.as) +
                          QStringLiteral("\n") + to_qt(texts::kPreviewFile) + utf8(file));
}

void KarteiDialog::saveClick()
{
    const DraftCheck check = check_draft(draft());
    if (!check.ok()) {
        update_check();
        return;
    }
    // An edit that rewrites its own file keeps the old state in the trash first; without a trash
    // the file is not rewritten.
    if (original_ && planned_file(root_, check.record, check.folder, original_) == *original_) {
        if (const TrashResult kept = copy_to_trash(*original_); !kept.ok()) {
            desktop_.message(BoxType::error,
                             std::string(texts::kWriteFailedBefore) + from_qt(utf8(valid_utf8(original_->string()))) +
                                 std::string(texts::kTrashFailed) + "\r" + io_error_text(kept.error),
                             Buttons::ok);
            return;
        }
    }
    const SaveResult saved = save_chart(root_, check.record, check.folder, original_);
    if (saved.outcome == SaveResult::Outcome::taken) {
        RefusalLabels[static_cast<std::size_t>(DraftField::name)]->setText(utf8(saved.message));
        NameEdit->setFocus();
        return;
    }
    if (saved.outcome == SaveResult::Outcome::failed) {
        desktop_.message(BoxType::error,
                         std::string(texts::kWriteFailedBefore) + from_qt(utf8(valid_utf8(saved.path.string()))) +
                             std::string(texts::kWriteFailedAfter) + from_qt(utf8(saved.message)),
                         Buttons::ok);
        return;
    }
    saved_path_ = saved.path;
    // An edit under a new name: the old file goes to the trash, where it can be fetched back.
    if (saved.original_left && original_ && !move_to_trash(*original_).ok()) {
        desktop_.message(BoxType::warning,
                         std::string(texts::kOldFileKept) + from_qt(utf8(valid_utf8(original_->string()))) +
                             std::string(texts::kTrashFailed),
                         Buttons::ok);
    }
    accept();
}

void KarteiDialog::placeEdited(const QString& text)
{
    places_.clear();
    place_model_->clear();
    if (atlas_ == nullptr || text.trimmed().size() < 2) {
        // Nothing asked for yet: no list at all.
        if (place_completer_->popup()->isVisible()) place_completer_->popup()->hide();
        return;
    }
    places_ = atlas_->search(text.toStdString(), 15);
    for (std::size_t i = 0; i < places_.size(); ++i) {
        auto* item = new QStandardItem(place_label(places_[i]));
        item->setData(QVariant::fromValue(static_cast<qulonglong>(i)), Qt::UserRole);
        place_model_->appendRow(item);
    }
    if (places_.empty()) {
        // One line that cannot be chosen, rather than an empty list over the fields below.
        auto* none = new QStandardItem(to_qt(texts::kNoPlaceFound));
        none->setFlags(Qt::NoItemFlags);
        place_model_->appendRow(none);
    }
    // The list as wide as its longest entry (never narrower than the field), so that places of one
    // name stay told apart by region and country; the completer keeps it on the screen.
    QAbstractItemView* popup = place_completer_->popup();
    int widest = 0;
    for (int row = 0; row < place_model_->rowCount(); ++row)
        widest = std::max(widest, popup->fontMetrics().horizontalAdvance(place_model_->item(row)->text()));
    const int margins = 2 * popup->frameWidth() + 4 * popup->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) +
                        popup->verticalScrollBar()->sizeHint().width() + popup->fontMetrics().averageCharWidth();
    place_completer_->complete(QRect(0, 0, std::max(PlaceEdit->width(), widest + margins), PlaceEdit->height()));
}

void KarteiDialog::placeChosen(const Place& place)
{
    const DegreesMinutes lon = degrees_minutes_of(place.longitude);
    const DegreesMinutes lat = degrees_minutes_of(place.latitude);
    filling_ = true;
    PlaceEdit->setText(utf8(place.name));  // the name alone: the region and population were for choosing
    LonDegrees->setValue(lon.degrees);
    LonMinutes->setValue(lon.minutes);
    LonSeconds->setValue(lon.seconds);
    LonDirection->setCurrentIndex(lon.negative ? 1 : 0);
    LatDegrees->setValue(lat.degrees);
    LatMinutes->setValue(lat.minutes);
    LatSeconds->setValue(lat.seconds);
    LatDirection->setCurrentIndex(lat.negative ? 1 : 0);
    ZoneBox->setEditText(utf8(place.zone));
    // The place's name as Zusatz, unless the user wrote something of his own there.
    if (ExtraEdit->text().isEmpty() || ExtraEdit->text() == extra_default_) {
        extra_default_ = to_qt(chart_text(place.name));
        ExtraEdit->setText(extra_default_);
    }
    filling_ = false;
    update_check();
}

}  // namespace duoskop
