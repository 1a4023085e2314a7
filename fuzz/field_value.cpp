// Typed texts becoming field values (parseNumber, fromText, toInteger) and decimals rounded to their declared
// digits (roundDecimal). Input: line 1 the typed text; line 2 a number's text; the last byte picks a scale.
#include "store/db_error.h"
#include "core/field_value.h"
#include "fuzz_support.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startOnce();
    const QString input = fuzz::text(data, size);
    const QStringList l = fuzz::lines(input, 2);
    const int scale = size > 0 ? 1 + data[size - 1] % 15 : 4;

    const std::optional<double> parsed = fieldvalue::parseNumber(l.at(0));
    if (parsed) FUZZ_CHECK(std::isfinite(*parsed), l.at(0));

    for (const FieldType type : {FieldType::SmallInt, FieldType::Integer, FieldType::LargeInt, FieldType::Double,
                                 FieldType::Decimal, FieldType::Text, FieldType::Date}) {
        const FieldDef def{QStringLiteral("f"), type, false, scale, QStringLiteral("#0.00#")};
        try {
            const QVariant v = fieldvalue::fromText(def, l.at(0));
            FUZZ_CHECK(l.at(0).isEmpty() == v.isNull(), l.at(0));
            if (v.isNull()) {
            } else if (fieldvalue::isIntegral(type)) {
                FUZZ_CHECK(v.typeId() == QMetaType::LongLong, l.at(0));
            } else if (fieldvalue::isNumeric(type)) {
                FUZZ_CHECK(v.typeId() == QMetaType::Double && std::isfinite(v.toDouble()), l.at(0));
            }
            fieldvalue::format(def, v, true);
            fieldvalue::format(def, fieldvalue::asRead(def, v), false);
            fieldvalue::toDouble(v);
            fieldvalue::toInteger(v);
        } catch (const DbError& e) {
            FUZZ_CHECK(e.kind() == DbError::Kind::Conversion, l.at(0));
        }
    }

    // A decimal rounded to its digits is a number again, no further from the original than half its last digit.
    for (const double v : fuzz::numbers({l.at(0), l.at(1)})) {
        if (!std::isfinite(v)) continue;
        const double r = fieldvalue::roundDecimal(v, scale);
        FUZZ_CHECK(std::isfinite(r), QString::number(v, 'g', 17) + u'/' + QString::number(scale));
        FUZZ_CHECK(std::fabs(r - v) <= 0.5 * std::pow(10.0, -scale) * (1 + 1e-9) + std::fabs(v) * 1e-14,
                   QString::number(v, 'g', 17) + u'/' + QString::number(scale) + QStringLiteral(" => ")
                       + QString::number(r, 'g', 17));
        try {
            fieldvalue::toInteger(QVariant(QString::number(v, 'g', 17)));
        } catch (const DbError&) {
        }
    }
    return 0;
}
