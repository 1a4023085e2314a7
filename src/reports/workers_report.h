#pragma once
#include "reports/summary_report.h"

// "Отчет по рабочим": per worker and product the good pieces and earnings by operation kind and colour,
// with totals per product, per worker and overall. Query t_Report.
class TForm16 : public SummaryReport {
    Q_OBJECT
public:
    explicit TForm16(TDataModule6& data, QWidget* parent = nullptr);
};
