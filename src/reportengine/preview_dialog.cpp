#include "reportengine/preview_dialog.h"

#include "reportengine/page_view.h"
#include "reportengine/report.h"
#include "reportengine/work_progress.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace re {

namespace {

// How long one slice of a preparation under way may keep the preview from the user's keys.
constexpr int kSliceMs = 30;
constexpr int kRowsPerStep = 64;

} // namespace

PreviewDialog::PreviewDialog(Report& report, QWidget* parent)
    : QDialog(parent, Qt::Window), report_(report), zoom_(report.previewZoom())
{
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(report.documentName().isEmpty() ? QStringLiteral("Предварительный просмотр") : report.documentName());

    auto* bar = new QToolBar(this);
    auto action = [&](const char* name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    first_ = action("firstPage", QStringLiteral("|<"), QKeySequence(Qt::CTRL | Qt::Key_Home), &PreviewDialog::firstPage);
    previous_ = action("previousPage", QStringLiteral("<"), QKeySequence(Qt::Key_PageUp), &PreviewDialog::previousPage);
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageLabel_);
    next_ = action("nextPage", QStringLiteral(">"), QKeySequence(Qt::Key_PageDown), &PreviewDialog::nextPage);
    last_ = action("lastPage", QStringLiteral(">|"), QKeySequence(Qt::CTRL | Qt::Key_End), &PreviewDialog::lastPage);
    first_->setToolTip(QStringLiteral("Первая страница"));
    previous_->setToolTip(QStringLiteral("Предыдущая страница"));
    next_->setToolTip(QStringLiteral("Следующая страница"));
    last_->setToolTip(QStringLiteral("Последняя страница"));
    bar->addSeparator();

    pageWidth_ = action("zoomPageWidth", QStringLiteral("По ширине"), QKeySequence(), [this] { setZoom(Zoom::PageWidth); });
    wholePage_ = action("zoomWholePage", QStringLiteral("Страница целиком"), QKeySequence(), [this] { setZoom(Zoom::WholePage); });
    auto* zoomGroup = new QActionGroup(this);
    for (QAction* a : {pageWidth_, wholePage_}) {
        a->setCheckable(true);
        zoomGroup->addAction(a);
    }
    bar->addSeparator();
    action("print", QStringLiteral("Печать..."), QKeySequence::Print, &PreviewDialog::printReport);
    action("savePdf", QStringLiteral("Сохранить в PDF..."), QKeySequence::Save, &PreviewDialog::savePdf);
    action("close", QStringLiteral("Закрыть"), QKeySequence(), &QDialog::accept);

    view_ = new PageView(report, this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("pageScroll"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(view_);
    scroll_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_, 1);
    resize(900, 700);

    setZoom(zoom_);
    updateControls();

    if (!report_.isPrepared()) {
        preparing_ = new QTimer(this);
        preparing_->setSingleShot(true);
        preparing_->setInterval(0);
        connect(preparing_, &QTimer::timeout, this, &PreviewDialog::prepareSlice);
        preparing_->start();
    }
}

void PreviewDialog::prepareSlice()
{
    QElapsedTimer slice;
    slice.start();
    bool done = false;
    while (!done && slice.elapsed() < kSliceMs)
        done = report_.prepareMore(kRowsPerStep);
    updateControls();
    if (!done)
        preparing_->start();
}

bool PreviewDialog::finishPreparing(WorkProgress& work)
{
    if (report_.isPrepared())
        return true;
    const bool done = report_.finishPreparing(work.progress());
    updateControls();
    return done;
}

int PreviewDialog::pageCount() const
{
    return report_.pageCount();
}

int PreviewDialog::currentPage() const
{
    return view_->page();
}

double PreviewDialog::pixelsPerMm() const
{
    return view_->pixelsPerMm();
}

void PreviewDialog::showPage(int page)
{
    if (pageCount() == 0)
        return;
    view_->setPage(std::clamp(page, 0, pageCount() - 1));
    scroll_->verticalScrollBar()->setValue(0);
    updateControls();
}

void PreviewDialog::firstPage()
{
    showPage(0);
}

void PreviewDialog::previousPage()
{
    showPage(currentPage() - 1);
}

void PreviewDialog::nextPage()
{
    showPage(currentPage() + 1);
}

void PreviewDialog::lastPage()
{
    showPage(pageCount() - 1);
}

void PreviewDialog::setZoom(Zoom zoom)
{
    zoom_ = zoom;
    (zoom == Zoom::PageWidth ? pageWidth_ : wholePage_)->setChecked(true);
    // Fixed scroll bars: bars that come and go with the zoom would change the room the zoom is fitted to.
    if (zoom == Zoom::PageWidth) {
        scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    applyZoom();
}

void PreviewDialog::applyZoom()
{
    const QSizeF paper = report_.pageSizeMm();
    const QSize room = scroll_->viewport()->size() - QSize(2 * PageView::kGap, 2 * PageView::kGap);
    const double byWidth = room.width() / paper.width();
    const double byHeight = room.height() / paper.height();
    const double scale = zoom_ == Zoom::PageWidth ? byWidth : std::min(byWidth, byHeight);
    view_->setPixelsPerMm(std::max(0.5, scale));
}

void PreviewDialog::updateControls()
{
    const int count = pageCount();
    const int page = currentPage();
    // While the rest is being laid out the count is what is ready so far.
    pageLabel_->setText(QStringLiteral("Страница %1 из %2%3")
                            .arg(count ? page + 1 : 0)
                            .arg(count)
                            .arg(report_.isPrepared() ? QString() : QStringLiteral("…")));
    first_->setEnabled(page > 0);
    previous_->setEnabled(page > 0);
    next_->setEnabled(page + 1 < count);
    last_->setEnabled(page + 1 < count);
}

bool PreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void PreviewDialog::printReport()
{
    // The print dialog offers a range of pages: all of them must be known first.
    {
        WorkProgress work(this, QStringLiteral("Подготовка отчета"));
        if (!finishPreparing(work))
            return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_.pageLayout());
    printer.setDocName(report_.documentName());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    WorkProgress work(this, QStringLiteral("Печать"));
    report_.print(printer, work.progress());
}

void PreviewDialog::savePdf()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QFileDialog dialog(this, QStringLiteral("Сохранить в PDF"), folder, QStringLiteral("PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("savePdfDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(pdfFileName(report_.documentName()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    WorkProgress work(this, QStringLiteral("Сохранение в PDF"));
    if (!finishPreparing(work))
        return;
    report_.writePdf(dialog.selectedFiles().constFirst(), work.progress());
}

QString pdfFileName(const QString& documentName)
{
    QString name = documentName.simplified();
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("Отчет");
    return name + QStringLiteral(".pdf");
}

} // namespace re
