#pragma once
#include "reports/summary_report.h"

// "Детальный отчет по рабочим": per worker all pieces, rejects and earnings by product mark, operation
// kind, colour number and product kind, with totals per worker and overall. Query w_Report.
class TForm20 : public SummaryReport {
    Q_OBJECT
public:
    explicit TForm20(TDataModule6& data, QWidget* parent = nullptr);
};
