#include "reportengine/font_resolver.h"

#include <QFontDatabase>
#include <QHash>

namespace re {

QString FontResolver::family(const QString& requested)
{
    // Liberation Sans has Arial's metrics; MS Sans Serif has no free twin and is closest to it too.
    static const QHash<QString, QString> twins{
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("microsoft sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
    };
    const QString twin = twins.value(requested.trimmed().toLower());
    if (!twin.isEmpty() && QFontDatabase::hasFamily(twin))
        return twin;
    return requested;
}

QFont FontResolver::font(const FontStyle& style, const FontStyle& defaults)
{
    const QString requested = !style.family.isEmpty() ? style.family
                              : !defaults.family.isEmpty() ? defaults.family
                                                           : QStringLiteral("Arial");
    const double size = style.pointSize > 0 ? style.pointSize : defaults.pointSize > 0 ? defaults.pointSize : 10;
    QFont f(family(requested));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(size);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    // Unhinted metrics are the same at every resolution, so the preview and the paper agree.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

} // namespace re
