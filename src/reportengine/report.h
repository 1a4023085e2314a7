#pragma once

#include "reportengine/definition.h"
#include "reportengine/document.h"
#include "reportengine/progress.h"

#include <QPageLayout>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace re {

class CompiledReport;
class Paginator;
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

    // Reads every row of the source; always yields at least one page. False, and no pages, when
    // `progress` stopped it.
    bool prepare(const Progress& progress = {});
    // Lays out from the first row until `pages` pages are ready to show, or every row is laid out, so
    // that the first pages can be shown while prepareMore() or finishPreparing() lay out the rest.
    void prepareFirstPages(int pages);
    // Lays out about `rows` more rows of a preparation begun with prepareFirstPages(); true once prepared.
    bool prepareMore(int rows);
    // Lays out what is left, telling `progress`; false when it stopped, with what is laid out kept.
    bool finishPreparing(const Progress& progress = {});
    // Every row laid out.
    bool isPrepared() const { return prepared_; }

    // The pages ready to show: every page once prepared, the first ones while it is under way.
    int pageCount() const;
    const Document& document() const { return *document_; }
    QString name() const;
    // What the printed document is called: the print job, the PDF's title and the file name a save
    // suggests. The report's name until set.
    void setDocumentName(const QString& name) { documentName_ = name; }
    QString documentName() const;
    QSizeF pageSizeMm() const;
    // The paper, without margins: pages are painted from the paper's corner.
    QPageLayout pageLayout() const;
    Zoom previewZoom() const;

    // Paints page `page` (0-based) with the painter's origin at the paper's top-left corner.
    void paintPage(int page, QPainter& painter) const;
    // The pages in the printer's page range, or all; throws ReportError when printing cannot start.
    // False when `progress` stopped it: the job is aborted.
    bool print(QPrinter& printer, const Progress& progress = {}) const;
    // Throws ReportError when the file cannot be written. The file is replaced only by a complete
    // document: false when `progress` stopped it, and the file is as it was.
    bool writePdf(const QString& path, const Progress& progress = {}) const;
    // Shows the pages in the modal preview, maximized, and returns when the user closes it. A
    // preparation under way goes on while the preview is shown.
    void preview(QWidget* parent = nullptr);

private:
    void requirePrepared() const;

    std::unique_ptr<CompiledReport> compiled_;
    const RowSource* source_ = nullptr;
    std::unique_ptr<Paginator> paginator_; // while a preparation is under way
    // Apart, so that a report moved while it is being prepared leaves its paginator's pages in place.
    std::unique_ptr<Document> document_ = std::make_unique<Document>();
    bool prepared_ = false;
    QString documentName_;
};

} // namespace re
