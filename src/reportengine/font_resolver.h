#pragma once

#include "reportengine/definition.h"

#include <QFont>

namespace re {

// Layouts name the faces of the workstations they were drawn on (Arial, MS Sans Serif).
// Each is replaced by an installed face with the same metrics when there is one (Liberation Sans
// for Arial), and on every machine the same way, so texts take the same room everywhere.
class FontResolver {
public:
    // The installed family printed for a requested one.
    static QString family(const QString& requested);
    // The font for an element: its own style, filled in from the report's default font.
    static QFont font(const FontStyle& style, const FontStyle& defaults);
};

} // namespace re
