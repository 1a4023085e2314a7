#include "reportengine/report.h"

#include "reportengine/compiled_report.h"
#include "reportengine/page_painter.h"
#include "reportengine/paginator.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report_error.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace re {

Report::Report(const ReportDefinition& definition, const RowSource& source)
    : compiled_(CompiledReport::build(definition, source)), source_(&source)
{
}

Report::~Report() = default;
Report::Report(Report&&) noexcept = default;
Report& Report::operator=(Report&&) noexcept = default;

void Report::setLabelText(const QString& labelName, const QString& text)
{
    CompiledElement* label = compiled_->findLabel(labelName);
    if (!label)
        throw ReportError(QStringLiteral("report \"%1\" has no label \"%2\"").arg(compiled_->name, labelName));
    label->text = text;
}

void Report::prepare()
{
    document_ = Paginator(*compiled_, *source_).run();
    prepared_ = true;
}

int Report::pageCount() const
{
    return int(document_.pages.size());
}

QString Report::name() const
{
    return compiled_->name;
}

QSizeF Report::pageSizeMm() const
{
    return compiled_->pageSizeMm;
}

QPageLayout Report::pageLayout() const
{
    return QPageLayout(compiled_->pageSize, compiled_->orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

Zoom Report::previewZoom() const
{
    return compiled_->previewZoom;
}

void Report::requirePrepared() const
{
    if (!prepared_)
        throw ReportError(QStringLiteral("report \"%1\" is not prepared").arg(compiled_->name));
}

void Report::paintPage(int page, QPainter& painter) const
{
    PagePainter::paint(document_, page, painter);
}

void Report::print(QPrinter& printer) const
{
    requirePrepared();
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout());
    if (printer.docName().isEmpty())
        printer.setDocName(compiled_->name);
    int first = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
    int last = printer.toPage() > 0 ? std::min(printer.toPage(), pageCount()) - 1 : pageCount() - 1;
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("cannot start printing on \"%1\"").arg(printer.printerName()));
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        paintPage(page, painter);
    }
    painter.end();
}

void Report::writePdf(const QString& path) const
{
    requirePrepared();
    QPdfWriter writer(path);
    writer.setPageLayout(pageLayout());
    writer.setCreator(QStringLiteral("piecework"));
    writer.setTitle(compiled_->name);
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("cannot write the PDF file \"%1\"").arg(path));
    for (int page = 0; page < pageCount(); ++page) {
        if (page > 0)
            writer.newPage();
        paintPage(page, painter);
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("cannot write the PDF file \"%1\"").arg(path));
}

void Report::preview(QWidget* parent)
{
    if (!prepared_)
        prepare();
    PreviewDialog dialog(*this, parent);
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

} // namespace re
