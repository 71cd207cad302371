// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/start_persons.h"

#include <QAction>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "desktop/unit1.h"

namespace duoskop {

namespace {

// The path as a file dialog would return it: absolute.
std::string absolute(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

}  // namespace

void load_persons_at_start(TForm1& form, const std::string& person1, const std::optional<std::string>& person2,
                           bool open_dial)
{
    const std::string first = absolute(person1);
    const std::optional<std::string> second = person2 ? std::optional(absolute(*person2)) : std::nullopt;
    // The first state change is the start state after the opening hint. The load runs from the
    // event loop, outside the listeners' round, and only once.
    auto done = std::make_shared<bool>(false);
    form.state_listeners.push_back([&form, first, second, done, open_dial] {
        if (*done) return;
        *done = true;
        QTimer::singleShot(0, &form, [&form, first, second, open_dial] {
            if (form.ended() || !form.name1->isEnabled()) return;
            form.name1Open(first);
            if (second && !form.ended() && form.name2->isEnabled()) form.name2Open(*second);
            auto* dial = form.findChild<QAction*>(QStringLiteral("Scheibe1"));
            if (open_dial && dial != nullptr && dial->isEnabled()) dial->trigger();
        });
    });
}

}  // namespace duoskop
