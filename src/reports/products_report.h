#pragma once
#include "reports/summary_report.h"

// "Отчет по продукции": per product the mass and good pieces by product kind, operation kind and
// colour, with totals per product and overall. Query t_Report.
class TForm17 : public SummaryReport {
    Q_OBJECT
public:
    explicit TForm17(TDataModule6& data, QWidget* parent = nullptr);
};
