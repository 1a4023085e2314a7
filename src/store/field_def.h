#pragma once
#include <QString>

enum class FieldType { Variant, SmallInt, Integer, LargeInt, AutoInc, Text, Double, Decimal, Date, DateTime };

// A declared field of a dataset: its name as the statement returns it (letter case not significant),
// its type and whether the program may write it.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Variant;
    bool readOnly = false;
    int scale = 0;            // fraction digits of a decimal
    QString displayFormat;    // a number mask such as "#0.00#" for grids
};
