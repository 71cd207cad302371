// SPDX-License-Identifier: GPL-3.0-or-later
// Charts named on the command line, loaded as if chosen in the file dialogs of the main window.
#pragma once

#include <optional>
#include <string>

namespace duoskop {

class TForm1;

/// Once the main window has shown its opening hint and reached its start state, loads `person1`
/// as "Name &1" does and then, if that left "Name &2" usable, `person2` as "Name &2" does.
/// Relative paths are taken from the current directory. With `open_dial` the dial window opens
/// afterwards, as "&Scheibe …" under Extras opens it, when person 1 could be loaded.
void load_persons_at_start(TForm1& form, const std::string& person1, const std::optional<std::string>& person2,
                           bool open_dial = false);

}  // namespace duoskop
