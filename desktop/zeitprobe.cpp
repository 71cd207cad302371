// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zeitprobe.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include "base/texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"
#include "desktop/window_habits.h"

namespace duoskop {

namespace {

QSettings program_settings() { return QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop")); }

const QString key1 = QStringLiteral("Zeitprobe/Person1");
const QString key2 = QStringLiteral("Zeitprobe/Person2");

// A stored number of minutes, or the default when it is missing, not a number or out of range.
int stored_minutes(const QSettings& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key).toString().toInt(&ok);
    return ok && value >= 0 && value <= max_time_window ? value : fallback;
}

}  // namespace

TimeWindow load_time_window()
{
    const QSettings settings = program_settings();
    // Off until the user switches it on: the result list then looks as the comparison gives it.
    const TimeWindow fallback = zeitprobe_off;
    return {stored_minutes(settings, key1, fallback.person1),
            stored_minutes(settings, key2, fallback.person2)};
}

void save_time_window(TimeWindow window)
{
    QSettings settings = program_settings();
    settings.setValue(key1, window.person1);
    settings.setValue(key2, window.person2);
    settings.sync();
}

TZeitprobe::TZeitprobe(TimeWindow window, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Zeitprobe"));
    keep_on_screen(*this);  // opens on the screen, whatever its size and the font
    setWindowTitle(to_qt(texts::kCaptionZeitprobe));
    setFont(sans_font_pt(9));
    setModal(true);

    // Laid out, not placed: the texts keep their room at any font size and screen scale.
    Label1 = plain_label(to_qt(texts::kZeitprobeExplanation), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    // Wide enough for a few words a line, whatever the font; the height follows the text.
    Label1->setMinimumWidth(Label1->fontMetrics().averageCharWidth() * 48);

    auto* form = new QFormLayout;
    const auto row = [this, form](const char* label_name, const char* spin_name, std::string_view caption,
                                  int value, QLabel*& label, QSpinBox*& spin) {
        label = plain_label(to_qt(caption), this);
        label->setObjectName(QString::fromLatin1(label_name));
        spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(spin_name));
        spin->setRange(0, max_time_window);
        spin->setValue(std::clamp(value, 0, max_time_window));
        label->setBuddy(spin);
        form->addRow(label, spin);
    };
    row("Label2", "SpinEdit1", texts::kZeitprobePerson1, window.person1, Label2, SpinEdit1);
    row("Label3", "SpinEdit2", texts::kZeitprobePerson2, window.person2, Label3, SpinEdit2);

    Button1 = new QPushButton(to_qt(texts::kButtonOk), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(to_qt(texts::kButtonCancel), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, [this] { accept(); });
    connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

TimeWindow TZeitprobe::window() const { return {SpinEdit1->value(), SpinEdit2->value()}; }

}  // namespace duoskop
