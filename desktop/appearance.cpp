// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/appearance.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <iterator>

#include "desktop/desktop_texts.h"
#include "desktop/picture_colours.h"
#include "desktop/qt_desktop.h"

namespace duoskop {

namespace {

struct AppearanceName {
    Appearance appearance;
    std::string_view word;  ///< as kept in the settings and the environment
    std::string_view menu;  ///< the entry in the submenu
    std::string_view action;
};
constexpr AppearanceName appearance_names[] = {
    {Appearance::system, "system", texts::kDarstellungSystem, "DarstellungSystem"},
    {Appearance::light, "hell", texts::kDarstellungHell, "DarstellungHell"},
    {Appearance::dark, "dunkel", texts::kDarstellungDunkel, "DarstellungDunkel"},
};
static_assert(std::size(appearance_names) == 3);

QString setting_key() { return QStringLiteral("Darstellung"); }

// A palette whose every role is set: a widget given it no longer follows the application's.
QPalette fixed(const QPalette& palette)
{
    QPalette all;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        const auto group = static_cast<QPalette::ColorGroup>(g);
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role == QPalette::NoRole) continue;
            all.setBrush(group, role, palette.brush(group, role));
        }
    }
    return all;
}

}  // namespace

std::optional<Appearance> appearance_named(std::string_view word)
{
    const QString given = QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    for (const AppearanceName& name : appearance_names)
        if (given.compare(QLatin1String(name.word.data(), static_cast<qsizetype>(name.word.size())),
                          Qt::CaseInsensitive) == 0)
            return name.appearance;
    return std::nullopt;
}

std::string_view appearance_word(Appearance appearance)
{
    for (const AppearanceName& name : appearance_names)
        if (name.appearance == appearance) return name.word;
    return appearance_names[0].word;
}

Appearance chosen_appearance()
{
    if (const char* forced = std::getenv("DUOSKOP_DARSTELLUNG"))
        if (const auto appearance = appearance_named(forced)) return *appearance;
    const QByteArray kept = QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
                                .value(setting_key())
                                .toString()
                                .toLatin1();
    return appearance_named(std::string_view(kept.constData(), static_cast<std::size_t>(kept.size())))
        .value_or(Appearance::system);
}

void remember_appearance(Appearance appearance)
{
    const std::string_view word = appearance_word(appearance);
    QSettings(QStringLiteral("Duoskop"), QStringLiteral("Duoskop"))
        .setValue(setting_key(), QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size())));
}

// The selection's blue: white text on it reaches 5.5 : 1.
const QColor selection(0x2F, 0x65, 0xCA);

QPalette light_palette()
{
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Active, QPalette::Highlight, selection);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, selection);
    palette.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    return palette;
}

QPalette dark_palette()
{
    const PictureColours dark = dark_colours();
    const QColor window(0x2D, 0x2D, 0x30);
    const QColor button(0x3A, 0x3A, 0x3D);
    const QColor disabled(0x8C, 0x8C, 0x8C);
    QPalette palette(window);
    const auto set = [&palette](QPalette::ColorRole role, const QColor& colour) { palette.setColor(role, colour); };
    set(QPalette::Window, window);
    set(QPalette::WindowText, dark.text);
    set(QPalette::Base, dark.background);
    set(QPalette::AlternateBase, QColor(0x28, 0x28, 0x2B));
    set(QPalette::ToolTipBase, button);
    set(QPalette::ToolTipText, dark.text);
    set(QPalette::PlaceholderText, QColor(0x9E, 0x9E, 0x9E));
    set(QPalette::Text, dark.text);
    set(QPalette::Button, button);
    set(QPalette::ButtonText, dark.text);
    set(QPalette::BrightText, dark.pointer);
    set(QPalette::Light, QColor(0x4A, 0x4A, 0x4E));
    set(QPalette::Midlight, QColor(0x3E, 0x3E, 0x42));
    set(QPalette::Mid, QColor(0x2A, 0x2A, 0x2E));
    set(QPalette::Dark, QColor(0x1A, 0x1A, 0x1C));
    set(QPalette::Shadow, QColor(0x00, 0x00, 0x00));
    set(QPalette::Highlight, selection);
    set(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    set(QPalette::Link, dark.person1);
    set(QPalette::LinkVisited, QColor(0xC5, 0x8A, 0xF9));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    return palette;
}

const QPalette& desktop_palette()
{
    // Taken once, before the program changes the application's palette for the first time.
    static const QPalette own = fixed(QGuiApplication::palette());
    return own;
}

void apply_appearance(Appearance appearance)
{
    const QPalette& own = desktop_palette();
    switch (appearance) {
    case Appearance::system:
        QApplication::setPalette(own);
        break;
    case Appearance::light:
        QApplication::setPalette(light_palette());
        break;
    case Appearance::dark:
        QApplication::setPalette(dark_palette());
        break;
    }
}

void keep_desktop_palette(QWidget& window) { window.setPalette(desktop_palette()); }

void start_appearance()
{
    desktop_palette();
    if (const Appearance appearance = chosen_appearance(); appearance != Appearance::system)
        apply_appearance(appearance);
}

QMenu* install_appearance_menu(QMenu& extras)
{
    auto* menu = extras.addMenu(to_qt(texts::kMenuDarstellung));
    menu->menuAction()->setObjectName(QStringLiteral("Darstellung1"));
    menu->menuAction()->setToolTip(to_qt(texts::kTipDarstellung));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const Appearance now = chosen_appearance();
    for (const AppearanceName& name : appearance_names) {
        QAction* action = menu->addAction(to_qt(name.menu));
        action->setObjectName(QString::fromLatin1(name.action.data(), static_cast<qsizetype>(name.action.size())));
        action->setCheckable(true);
        action->setChecked(name.appearance == now);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [appearance = name.appearance] {
            remember_appearance(appearance);
            apply_appearance(appearance);
        });
    }
    return menu;
}

}  // namespace duoskop
