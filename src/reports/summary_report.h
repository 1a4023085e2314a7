#pragma once
#include "store/reads/read.h"
#include "reportengine/definition.h"
#include "reportengine/progress.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class Dataset;
class DatasetRows;
class TDataModule6;
namespace re {
class Report;
}

// A printed summary report: its query over a period and the layout of its pages. The caller sets the
// query's parameters and filter, opens it, sets the heading, prepares and previews, then closes the
// query; the pages are the rows the query shows, filter applied. A window of the program that is never
// shown itself: its pages are, in the preview.
class SummaryReport : public QWidget {
    Q_OBJECT
public:
    ~SummaryReport() override;

    Dataset* query() const { return query_; }
    const re::ReportDefinition& definition() const { return definition_; }

    // The text of the heading label QRLabel1, for the next prepare(). It also names the document: the
    // print job and the file a save as PDF suggests.
    void setHeading(const QString& text) { heading_ = text; }
    QString heading() const { return heading_; }

    // Lays out every page of the open query's rows; false, and nothing to preview, when `progress`
    // stopped it.
    bool prepare(const re::Progress& progress = {});
    // Shows the prepared pages in the preview, maximized, until the user closes it; the user prints
    // and saves from there. The pages are dropped afterwards.
    void preview(QWidget* parent);
    // The prepared pages; null before prepare() and after preview().
    const re::Report* report() const { return report_.get(); }

protected:
    SummaryReport(TDataModule6& data, const QString& formName, const store::Read& query, re::ReportDefinition definition,
                  QWidget* parent);

private:
    Dataset* query_;
    re::ReportDefinition definition_;
    QString heading_;
    std::unique_ptr<DatasetRows> rows_;
    std::unique_ptr<re::Report> report_;
};
