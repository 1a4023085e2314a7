#include "reports/summary_report.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "reports/dataset_rows.h"
#include "reportengine/report.h"
#include "reports/report_layout.h"

SummaryReport::SummaryReport(TDataModule6& data, const QString& formName, const store::Read& query,
                             re::ReportDefinition definition, QWidget* parent)
    : QWidget(parent), query_(new Dataset(query, this)), definition_(std::move(definition))
{
    setObjectName(formName);
    // The report's own query, on the data module's connection.
    query_->setConnectionName(data.kConnection);
}

SummaryReport::~SummaryReport() = default;

bool SummaryReport::prepare(const re::Progress& progress)
{
    report_.reset();
    rows_ = std::make_unique<DatasetRows>(*query_);
    auto report = std::make_unique<re::Report>(definition_, *rows_);
    report->setLabelText(report_layout::kHeading, heading_);
    report->setDocumentName(heading_.trimmed());
    if (!report->prepare(progress)) return false;
    report_ = std::move(report);
    return true;
}

void SummaryReport::preview(QWidget* parent)
{
    if (!report_ && !prepare()) return;
    report_->preview(parent);
    report_.reset();
    rows_.reset();
}
