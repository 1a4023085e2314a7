#pragma once

#include "reportengine/definition.h"
#include "reportengine/document.h"

#include <QPageLayout>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace re {

class CompiledReport;
class RowSource;

// A definition bound to its row source. Building it checks the definition (expressions, fields,
// functions, masks) and throws ReportError; prepare() lays the rows out into pages, which can then be
// painted, printed, written to PDF and previewed as often as needed. The source must outlive the report.
class Report {
public:
    Report(const ReportDefinition& definition, const RowSource& source);
    ~Report();
    Report(Report&&) noexcept;
    Report& operator=(Report&&) noexcept;

    // The text of a named label, such as a heading, for the next prepare().
    void setLabelText(const QString& labelName, const QString& text);

    // Reads every row of the source; always yields at least one page.
    void prepare();
    bool isPrepared() const { return prepared_; }

    int pageCount() const;
    const Document& document() const { return document_; }
    QString name() const;
    QSizeF pageSizeMm() const;
    // The paper, without margins: pages are painted from the paper's corner.
    QPageLayout pageLayout() const;
    Zoom previewZoom() const;

    // Paints page `page` (0-based) with the painter's origin at the paper's top-left corner.
    void paintPage(int page, QPainter& painter) const;
    // The pages in the printer's page range, or all; throws ReportError when printing cannot start.
    void print(QPrinter& printer) const;
    // Throws ReportError when the file cannot be written.
    void writePdf(const QString& path) const;
    // Shows the pages in the modal preview, maximized, and returns when the user closes it.
    void preview(QWidget* parent = nullptr);

private:
    void requirePrepared() const;

    std::unique_ptr<CompiledReport> compiled_;
    const RowSource* source_ = nullptr;
    Document document_;
    bool prepared_ = false;
};

} // namespace re
