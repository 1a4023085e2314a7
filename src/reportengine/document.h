#pragma once

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>
#include <vector>

namespace re {

// Prepared pages: everything positioned in millimetres from the paper's top-left corner,
// ready to paint on any device without evaluating anything again.

struct TextItem {
    QRectF rect;
    QString text;
    int font = 0; // index into Document::fonts
    int flags = 0; // Qt::AlignmentFlag | Qt::TextFlag
    QRgb color = 0xff000000;
};

struct FillItem {
    QRectF rect;
    QRgb color = 0xffffffff;
};

struct LineItem {
    QLineF line;
    QRgb color = 0xff000000;
    Qt::PenStyle style = Qt::SolidLine;
    double widthMm = 0.2;
};

// Painted in this order: fills, then lines, then texts.
struct Page {
    std::vector<FillItem> fills;
    std::vector<LineItem> lines;
    std::vector<TextItem> texts;
};

struct Document {
    QSizeF pageSizeMm;
    std::vector<QFont> fonts;
    std::vector<Page> pages;
};

} // namespace re
