// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/extras_menu.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <iterator>
#include <vector>

namespace duoskop {

namespace {

// The Extras menu, top to bottom: the windows that make or read data, the views of the loaded
// pair, the pair in time, the settings, the manual. A new entry is one line here.
constexpr ExtrasPlace extras_places[] = {
    {"Kartei1", ExtrasGroup::data},             // "Horoskop-&Kartei …"
    {"Textbibliothek1", ExtrasGroup::data},     // "Text&bibliothek …"
    {"Bericht1", ExtrasGroup::data},            // "Beric&ht …"
    {"Scheibe1", ExtrasGroup::views},           // "&Scheibe …"
    {"Zeitprobe1", ExtrasGroup::views},         // "&Zeitprobe …"
    {"Rangliste1", ExtrasGroup::views},         // "Partner-&Rangliste …"
    {"Ausloesungen1", ExtrasGroup::time},       // "A&uslösungen …"
    {"Ephemeride1", ExtrasGroup::time},         // "Grafische &Ephemeride …"
    {"GenauePositionen1", ExtrasGroup::settings},  // "&Genaue Positionen"
    {"LaufwerkC1", ExtrasGroup::settings},      // "&Laufwerk C: …"
    {"Darstellung1", ExtrasGroup::settings},    // "D&arstellung": System, Hell, Dunkel
    {"Handbuch1", ExtrasGroup::manual},         // "Han&dbuch …"
};

/// Position in the list, and the group; entries not listed come last, in a group of their own.
std::pair<std::size_t, int> rank_of(const QAction* action)
{
    const QByteArray name = action->objectName().toUtf8();
    for (std::size_t i = 0; i < std::size(extras_places); ++i)
        if (extras_places[i].action == std::string_view(name.constData(), static_cast<std::size_t>(name.size())))
            return {i, static_cast<int>(extras_places[i].group)};
    return {std::size(extras_places), static_cast<int>(ExtrasGroup::manual) + 1};
}

}  // namespace

std::span<const ExtrasPlace> extras_order() { return extras_places; }

void arrange_extras(QMenu& menu)
{
    std::vector<QAction*> entries;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            menu.removeAction(action);
            if (action->parent() == &menu) action->deleteLater();
        } else {
            entries.push_back(action);
        }
    }
    // Stable: entries that are not listed keep the order in which they were added.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const QAction* a, const QAction* b) { return rank_of(a).first < rank_of(b).first; });
    for (QAction* action : entries) menu.removeAction(action);
    int group = -1;
    for (QAction* action : entries) {
        const int g = rank_of(action).second;
        if (group != -1 && g != group) menu.addSeparator();
        group = g;
        menu.addAction(action);
    }
}

void keep_extras_in_order(QMenu& menu)
{
    arrange_extras(menu);
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] { arrange_extras(menu); });
}

}  // namespace duoskop
