#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// Reads back what a test needs from an .xlsx file: sheet names, and for the first sheet its cells
// with their value kind, text format and bold, and its column widths.
class XlsxReader {
public:
    struct Cell {
        QString text;           // a string cell's text, or a number cell's stored value
        bool isNumber = false;
        bool textFormat = false;
        bool bold = false;
    };

    explicit XlsxReader(const QString& path);

    QString error;  // empty when the file was read
    QStringList sheetNames;
    QMap<std::pair<int, int>, Cell> cells;  // by row and column, from 1
    QMap<int, double> columnWidths;         // only columns given a width

    std::optional<Cell> cell(int row, int column) const;
    // A text cell as QString, a number cell as double, no cell as an invalid QVariant.
    QVariant value(int row, int column) const;

private:
    QByteArray member(const QString& path, const QString& name);
};
