// SPDX-License-Identifier: GPL-3.0-or-later
// The time probe's settings: a small dialog for the minutes each birth time is shifted, kept
// across runs in the program's settings.
#pragma once

#include <QDialog>

#include "timeprobe/time_probe.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace duoskop {

/// The probe switched off: neither birth time is shifted.
inline constexpr TimeWindow zeitprobe_off{0, 0};

/// The windows the user chose last; off (0 minutes) where nothing usable is stored.
TimeWindow load_time_window();
/// Keeps the windows for the next runs.
void save_time_window(TimeWindow window);

/// "Zeitprobe": minutes for person 1 and person 2, 0 to 720 each, 0 leaving that time alone.
class TZeitprobe : public QDialog {
public:
    TZeitprobe(TimeWindow window, QWidget* parent);

    /// The windows as the fields hold them.
    TimeWindow window() const;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QSpinBox* SpinEdit1;
    QSpinBox* SpinEdit2;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace duoskop
