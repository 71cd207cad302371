// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: the core layers are built without Qt, so a Qt header is not found.
#include <QString>
#include <QtCore/QString>

int core_includes_qt() { return QString().size(); }
