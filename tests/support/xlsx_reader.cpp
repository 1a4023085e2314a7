#include "support/xlsx_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QString attr(const QXmlStreamReader& r, const char* name)
{
    return r.attributes().value(QLatin1String(name)).toString();
}

struct Style {
    bool textFormat = false;
    int font = 0;
};

// "AB12" as row 12, column 28.
std::pair<int, int> rowColumn(const QString& ref)
{
    static const QRegularExpression re(QStringLiteral("^([A-Z]+)([0-9]+)$"));
    const auto m = re.match(ref);
    int column = 0;
    for (const QChar c : m.captured(1)) column = column * 26 + (c.unicode() - 'A' + 1);
    return {m.captured(2).toInt(), column};
}

QStringList sharedStrings(const QByteArray& xml)
{
    QStringList strings;
    for (QXmlStreamReader r(xml); !r.atEnd();) {
        if (r.readNext() != QXmlStreamReader::StartElement) continue;
        if (r.name() == u"si") strings << QString();
        else if (r.name() == u"t") strings.last() += r.readElementText();
    }
    return strings;
}

void readStyles(const QByteArray& xml, QList<bool>* boldFonts, QList<Style>* styles)
{
    QXmlStreamReader r(xml);
    QString section;
    QStringList textFormats{QStringLiteral("49")};  // the built-in "@"
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement()) continue;
        const auto name = r.name();
        if (name == u"numFmt" && attr(r, "formatCode") == u"@") textFormats << attr(r, "numFmtId");
        else if (name == u"fonts" || name == u"cellXfs" || name == u"cellStyleXfs") section = name.toString();
        else if (name == u"font" && section == u"fonts") boldFonts->append(false);
        else if (name == u"b" && section == u"fonts") boldFonts->last() = attr(r, "val") != u"0";
        else if (name == u"xf" && section == u"cellXfs")
            styles->append(Style{textFormats.contains(attr(r, "numFmtId")), attr(r, "fontId").toInt()});
    }
}

}  // namespace

XlsxReader::XlsxReader(const QString& path)
{
    const QByteArray workbook = member(path, QStringLiteral("xl/workbook.xml"));
    const QByteArray sheet = member(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QByteArray stylesXml = member(path, QStringLiteral("xl/styles.xml"));
    const QByteArray stringsXml = member(path, QStringLiteral("xl/sharedStrings.xml"));  // absent with no strings
    if (!error.isEmpty()) return;

    for (QXmlStreamReader r(workbook); !r.atEnd();)
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"sheet")
            sheetNames << attr(r, "name");

    const QStringList strings = sharedStrings(stringsXml);
    QList<bool> boldFonts;
    QList<Style> styles;
    readStyles(stylesXml, &boldFonts, &styles);

    QXmlStreamReader r(sheet);
    std::pair<int, int> at;
    Cell cell;
    QString type;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"col") {
            const int first = attr(r, "min").toInt();
            const int last = attr(r, "max").toInt();
            for (int c = first; c <= last; ++c) columnWidths[c] = attr(r, "width").toDouble();
        } else if (r.isStartElement() && r.name() == u"c") {
            at = rowColumn(attr(r, "r"));
            type = attr(r, "t");
            const Style style = styles.value(attr(r, "s").toInt());
            cell = Cell{QString(), type.isEmpty() || type == u"n", style.textFormat, boldFonts.value(style.font)};
        } else if (r.isStartElement() && r.name() == u"v") {
            const QString v = r.readElementText();
            cell.text = type == u"s" ? strings.value(v.toInt()) : v;
        } else if (r.isEndElement() && r.name() == u"c") {
            cells[at] = cell;
        }
    }
    if (r.hasError()) error = r.errorString();
}

std::optional<XlsxReader::Cell> XlsxReader::cell(int row, int column) const
{
    const auto it = cells.constFind({row, column});
    if (it == cells.cend()) return std::nullopt;
    return *it;
}

QVariant XlsxReader::value(int row, int column) const
{
    const auto c = cell(row, column);
    if (!c) return {};
    return c->isNumber ? QVariant(c->text.toDouble()) : QVariant(c->text);
}

QByteArray XlsxReader::member(const QString& path, const QString& name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000)) {
        error = QStringLiteral("unzip did not run: ") + unzip.errorString();
        return {};
    }
    // Status 11: no such member; the shared strings are missing from a book of numbers only.
    if (unzip.exitCode() != 0 && !(unzip.exitCode() == 11 && name.endsWith(u"sharedStrings.xml")))
        error = QStringLiteral("unzip %1 %2: %3").arg(path, name, QString::fromLocal8Bit(unzip.readAllStandardError()));
    return unzip.readAllStandardOutput();
}
