#include "reportengine/definition.h"

#include "reportengine/report_error.h"

namespace re {

namespace {

Frame sides(bool top, bool bottom, bool left, bool right, QColor color, Qt::PenStyle style)
{
    Frame f;
    f.top = top;
    f.bottom = bottom;
    f.left = left;
    f.right = right;
    f.color = color;
    f.style = style;
    return f;
}

Element* findLabel(Band& band, const QString& name)
{
    for (Element& e : band.elements) {
        if (e.kind == Element::Kind::Label && e.name == name)
            return &e;
    }
    for (Band& child : band.children) {
        if (Element* e = findLabel(child, name))
            return e;
    }
    return nullptr;
}

} // namespace

Frame Frame::box(QColor color, Qt::PenStyle style)
{
    return sides(true, true, true, true, color, style);
}

Frame Frame::topAndBottom(QColor color, Qt::PenStyle style)
{
    return sides(true, true, false, false, color, style);
}

Frame Frame::leftAndRight(QColor color, Qt::PenStyle style)
{
    return sides(false, false, true, true, color, style);
}

Frame Frame::below(QColor color, Qt::PenStyle style)
{
    return sides(false, true, false, false, color, style);
}

Element label(double x, double width, const QString& text, Qt::Alignment alignment)
{
    Element e;
    e.kind = Element::Kind::Label;
    e.x = x;
    e.width = width;
    e.text = text;
    e.alignment = alignment;
    return e;
}

Element expr(double x, double width, const QString& expression, Qt::Alignment alignment)
{
    Element e = label(x, width, expression, alignment);
    e.kind = Element::Kind::Expression;
    return e;
}

void ReportDefinition::setLabelText(const QString& labelName, const QString& text)
{
    std::vector<Band*> bands{&title, &pageHeader, &detail, &pageFooter};
    for (Group& g : groups) {
        bands.push_back(&g.header);
        bands.push_back(&g.footer);
    }
    for (Band* band : bands) {
        if (Element* e = findLabel(*band, labelName)) {
            e->text = text;
            return;
        }
    }
    throw ReportError(QStringLiteral("report \"%1\" has no label \"%2\"").arg(name, labelName));
}

} // namespace re
