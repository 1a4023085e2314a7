#pragma once

#include <QString>

namespace re {

// A number mask in the style the layouts were written in ("#0", "#0.00", "#,##0.000 kg"):
// '0' a digit always printed, '#' a digit printed when significant, '.' the decimal separator,
// ',' anywhere before it groups thousands; other characters, or text in quotes, print as they are.
// Rounding is half away from zero on the value taken to 15 significant digits, so that sums of
// money carrying binary noise (2.345 held as 2.34499...) round the way the amounts read.
class NumberFormat {
public:
    NumberFormat() = default; // no mask: numbers print in their default form

    // Throws MaskError for a mask without any digit placeholder or with placeholders split by text.
    static NumberFormat parse(const QString& mask);

    bool isEmpty() const { return !valid_; }
    QString format(double value, QChar decimalSeparator, QChar groupSeparator) const;

    struct MaskError {
        QString message;
    };

private:
    QString prefix_;
    QString suffix_;
    int minInteger_ = 0;
    int minDecimals_ = 0;
    int maxDecimals_ = 0;
    bool grouping_ = false;
    bool valid_ = false;
};

} // namespace re
