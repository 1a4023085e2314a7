#pragma once
#include "reports/summary_report.h"

// "Детальный отчет по продукции": per product all pieces, rejects, mass and earnings by mark, operation
// kind, colour number and product kind, with totals per product and overall. Query i_Report.
class TForm21 : public SummaryReport {
    Q_OBJECT
public:
    explicit TForm21(TDataModule6& data, QWidget* parent = nullptr);
};
