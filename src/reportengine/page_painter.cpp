#include "reportengine/page_painter.h"

#include <QPaintDevice>
#include <QPainter>

namespace re {

void PagePainter::paint(const Document& document, int index, QPainter& painter)
{
    const Page& page = document.pages.at(size_t(index));
    const QPaintDevice* device = painter.device();
    const double kx = device->logicalDpiX() / 25.4;
    const double ky = device->logicalDpiY() / 25.4;
    auto map = [kx, ky](const QRectF& r) {
        return QRectF(r.x() * kx, r.y() * ky, r.width() * kx, r.height() * ky);
    };

    painter.save();
    for (const FillItem& f : page.fills)
        painter.fillRect(map(f.rect), QColor::fromRgba(f.color));

    QPen pen;
    bool penSet = false;
    for (const LineItem& l : page.lines) {
        // at least one device pixel, or thin lines vanish on screen
        const double width = std::max(1.0, l.widthMm * kx);
        if (!penSet || pen.color().rgba() != l.color || pen.style() != l.style || pen.widthF() != width) {
            pen = QPen(QColor::fromRgba(l.color), width, l.style, Qt::FlatCap);
            painter.setPen(pen);
            penSet = true;
        }
        painter.drawLine(QLineF(l.line.x1() * kx, l.line.y1() * ky, l.line.x2() * kx, l.line.y2() * ky));
    }

    // Font and colour change only between items that differ: most neighbours share them.
    int font = -1;
    QRgb color = 0;
    bool colorSet = false;
    for (const TextItem& t : page.texts) {
        if (t.font != font) {
            font = t.font;
            painter.setFont(document.fonts.at(size_t(font)));
        }
        if (!colorSet || t.color != color) {
            color = t.color;
            painter.setPen(QColor::fromRgba(color));
            colorSet = true;
        }
        // Without Qt::TextDontClip, a text wider than its box is clipped to the box.
        painter.drawText(map(t.rect), t.flags, t.text);
    }
    painter.restore();
}

} // namespace re
