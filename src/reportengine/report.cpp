#include "reportengine/report.h"

#include "reportengine/compiled_report.h"
#include "reportengine/page_painter.h"
#include "reportengine/paginator.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report_error.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace re {

Report::Report(const ReportDefinition& definition, const RowSource& source)
    : compiled_(CompiledReport::build(definition, source)), source_(&source)
{
}

namespace {

// Rows laid out between two looks at whether enough pages are ready.
constexpr int kRowsPerSlice = 64;

} // namespace

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

bool Report::prepare(const Progress& progress)
{
    paginator_ = std::make_unique<Paginator>(*compiled_, *source_, *document_);
    prepared_ = false;
    if (!finishPreparing(progress)) {
        paginator_.reset();
        *document_ = Document();
        return false;
    }
    return true;
}

void Report::prepareFirstPages(int pages)
{
    paginator_ = std::make_unique<Paginator>(*compiled_, *source_, *document_);
    prepared_ = false;
    while (!prepareMore(kRowsPerSlice) && paginator_->readyPages() < pages) {
    }
}

bool Report::prepareMore(int rows)
{
    if (prepared_)
        return true;
    if (!paginator_)
        throw ReportError(QStringLiteral("report \"%1\" has no preparation under way").arg(compiled_->name));
    if (paginator_->layOut(rows)) {
        paginator_.reset();
        prepared_ = true;
    }
    return prepared_;
}

bool Report::finishPreparing(const Progress& progress)
{
    if (prepared_)
        return true;
    if (!paginator_)
        paginator_ = std::make_unique<Paginator>(*compiled_, *source_, *document_);
    if (!paginator_->run(progress))
        return false;
    paginator_.reset();
    prepared_ = true;
    return true;
}

int Report::pageCount() const
{
    if (paginator_)
        return paginator_->readyPages();
    return prepared_ ? int(document_->pages.size()) : 0;
}

QString Report::name() const
{
    return compiled_->name;
}

QString Report::documentName() const
{
    return documentName_.isEmpty() ? compiled_->name : documentName_;
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
    PagePainter::paint(*document_, page, painter);
}

bool Report::print(QPrinter& printer, const Progress& progress) const
{
    requirePrepared();
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout());
    if (printer.docName().isEmpty())
        printer.setDocName(documentName());
    int first = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
    int last = printer.toPage() > 0 ? std::min(printer.toPage(), pageCount()) - 1 : pageCount() - 1;
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("cannot start printing on \"%1\"").arg(printer.printerName()));
    for (int page = first; page <= last; ++page) {
        if (progress && !progress(page - first, last - first + 1, last - first + 1)) {
            printer.abort();
            return false;
        }
        if (page > first)
            printer.newPage();
        paintPage(page, painter);
    }
    painter.end();
    return true;
}

bool Report::writePdf(const QString& path, const Progress& progress) const
{
    requirePrepared();
    // Written aside and put in place at the end, so that a failed or stopped save leaves no torn file
    // behind and an older file of that name intact.
    QSaveFile file(path);
    const auto failed = [&path, &file] {
        return ReportError(QStringLiteral("Не удалось записать файл PDF \"%1\": %2").arg(path, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw failed();
    QPdfWriter writer(&file);
    writer.setPageLayout(pageLayout());
    writer.setCreator(QStringLiteral("piecework"));
    writer.setTitle(documentName());
    QPainter painter;
    if (!painter.begin(&writer))
        throw failed();
    for (int page = 0; page < pageCount(); ++page) {
        if (progress && !progress(page, pageCount(), pageCount())) {
            painter.end();
            file.cancelWriting();
            return false;
        }
        if (page > 0)
            writer.newPage();
        paintPage(page, painter);
    }
    if (!painter.end() || !file.commit())
        throw failed();
    return true;
}

void Report::preview(QWidget* parent)
{
    if (!prepared_ && !paginator_)
        prepare();
    PreviewDialog dialog(*this, parent);
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

} // namespace re
