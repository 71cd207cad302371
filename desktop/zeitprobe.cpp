// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/zeitprobe.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include "base/texts.h"
#include "desktop/qt_desktop.h"
#include "desktop/qt_style.h"

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
    const TimeWindow fallback;
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
    setWindowTitle(to_qt(texts::kCaptionZeitprobe));
    setFixedSize(360, 150);
    setFont(sans_font_pt(9));
    setModal(true);

    Label1 = plain_label(to_qt(texts::kZeitprobeExplanation), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 8, 336, 44);
    Label1->setWordWrap(true);

    const auto row = [this](const char* label_name, const char* spin_name, std::string_view caption,
                            int y, int value, QLabel*& label, QSpinBox*& spin) {
        label = plain_label(to_qt(caption), this);
        label->setObjectName(QString::fromLatin1(label_name));
        label->setGeometry(12, y, 160, 22);
        spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(spin_name));
        spin->setGeometry(180, y, 70, 22);
        spin->setRange(0, max_time_window);
        spin->setValue(std::clamp(value, 0, max_time_window));
        label->setBuddy(spin);
    };
    row("Label2", "SpinEdit1", texts::kZeitprobePerson1, 58, window.person1, Label2, SpinEdit1);
    row("Label3", "SpinEdit2", texts::kZeitprobePerson2, 86, window.person2, Label3, SpinEdit2);

    Button1 = new QPushButton(to_qt(texts::kButtonOk), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(180, 118, 80, 24);
    Button1->setDefault(true);
    Button2 = new QPushButton(to_qt(texts::kButtonCancel), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(268, 118, 80, 24);
    connect(Button1, &QPushButton::clicked, this, [this] { accept(); });
    connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
}

TimeWindow TZeitprobe::window() const { return {SpinEdit1->value(), SpinEdit2->value()}; }

}  // namespace duoskop
