#pragma once

#include "reportengine/document.h"

class QPainter;

namespace re {

// Paints one prepared page. Millimetres become device units through the device's own resolution,
// and point sizes through the same, so one page looks alike on screen, paper, PDF and images.
// The painter's origin must be the paper's top-left corner (a printer in full-page mode).
class PagePainter {
public:
    static void paint(const Document& document, int page, QPainter& painter);
};

} // namespace re
