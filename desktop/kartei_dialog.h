// SPDX-License-Identifier: GPL-3.0-or-later
// The chart dialog of the chart index: a person's birth data typed in, checked while one types
// (the reason of a refusal next to its field), previewed as universal time and the chart's Sun,
// MC and AS, and written as a chart file that never replaces another person's file.
#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "kartei/draft.h"
#include "places/atlas.h"

class QCheckBox;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStandardItemModel;

namespace duoskop {

struct KarteiEntry;

class KarteiDialog : public QDialog {
public:
    enum class Mode { create, edit, copy };

    /// `root` is the chart folder, `folders` its subfolders relative to it (offered in the folder
    /// field); `from` is the chart edited or copied; `atlas` (may be nullptr) the place search.
    KarteiDialog(Desktop& desktop, std::filesystem::path root, const std::vector<std::string>& folders,
                 Mode mode, const KarteiEntry* from, const Atlas* atlas, QWidget* parent = nullptr);

    /// What the controls hold.
    ChartDraft draft() const;
    /// Fills the controls from a draft.
    void set_draft(const ChartDraft& draft);
    /// The file written by the last successful save.
    const std::filesystem::path& saved_path() const { return saved_path_; }
    /// The reason shown next to a field (UTF-8), empty when there is none.
    std::string refusal(DraftField field) const;

    /// Checks what was typed and shows refusals and preview.
    void update_check();
    /// "Speichern": writes the chart file and closes the dialog, or shows why it cannot.
    void saveClick();
    /// The place field changed: searches the atlas and offers the best places.
    void placeEdited(const QString& text);
    /// A place was chosen from the offer: its coordinates, its time zone and, when the field is
    /// empty or still holds the last place's name, its name as Zusatz.
    void placeChosen(const Place& place);
    /// The places offered for what the place field holds, best first.
    const std::vector<Place>& offered_places() const { return places_; }

    QLineEdit* NameEdit;
    QLineEdit* FirstNameEdit;
    QLineEdit* DateEdit;
    QLineEdit* TimeEdit;
    QComboBox* TimeKindBox;
    QCheckBox* UnknownBox;
    QSpinBox* LonDegrees;
    QSpinBox* LonMinutes;
    QSpinBox* LonSeconds;
    QComboBox* LonDirection;
    QSpinBox* LatDegrees;
    QSpinBox* LatMinutes;
    QSpinBox* LatSeconds;
    QComboBox* LatDirection;
    QComboBox* ReadingBox;  ///< shown when the local time existed twice
    QWidget* ReadingRow;
    QLineEdit* PlaceEdit;
    QComboBox* ZoneBox;
    QLabel* ZoneInfoLabel;  ///< the zone time in force: abbreviation and offset
    QLineEdit* ExtraEdit;
    QComboBox* FolderBox;
    QLabel* PreviewLabel;
    QPushButton* SaveButton;
    QPushButton* CancelButton;
    std::array<QLabel*, draft_field_count> RefusalLabels{};

private:
    Desktop& desktop_;
    const Atlas* atlas_;
    QStandardItemModel* place_model_;
    QCompleter* place_completer_;
    std::vector<Place> places_;
    QString extra_default_;  ///< the Zusatz a chosen place put there
    std::filesystem::path root_;
    Mode mode_;
    std::optional<std::filesystem::path> original_;
    std::filesystem::path saved_path_;
    bool filling_ = false;
};

}  // namespace duoskop
