// SPDX-License-Identifier: GPL-3.0-or-later
// Texts as markup shows them: the one escape of every text (names, places, titles, the report's
// lines and texts) that goes into HTML, SVG or the HTML source of the ODT.
#pragma once

#include <QString>

namespace duoskop {

/// `text` with & < > " ' as character references, so that it stands as written in element
/// content and in attribute values of either quote: "<b>A&B" becomes "&lt;b&gt;A&amp;B".
inline QString markup_text(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace duoskop
