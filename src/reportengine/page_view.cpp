#include "reportengine/page_view.h"

#include "reportengine/report.h"

#include <QPainter>
#include <cmath>

namespace re {

PageView::PageView(const Report& report, QWidget* parent)
    : QWidget(parent), report_(report)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPixelsPerMm(pixelsPerMm());
}

void PageView::setPage(int page)
{
    if (page == page_)
        return;
    page_ = page;
    update();
}

void PageView::setPixelsPerMm(double pixelsPerMm)
{
    dpi_ = std::max(10, int(std::lround(pixelsPerMm * 25.4)));
    setFixedSize(paperSize() + QSize(2 * kGap, 2 * kGap));
    update();
}

QSize PageView::paperSize() const
{
    const QSizeF mm = report_.pageSizeMm();
    return QSize(int(std::lround(mm.width() * dpi_ / 25.4)), int(std::lround(mm.height() * dpi_ / 25.4)));
}

QImage PageView::renderedPage()
{
    if (cachePage_ != page_ || cacheDpi_ != dpi_) {
        cache_ = QImage(paperSize(), QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(dpi_ / 0.0254));
        cache_.setDotsPerMeterX(dotsPerMeter);
        cache_.setDotsPerMeterY(dotsPerMeter);
        cache_.fill(Qt::white);
        if (page_ >= 0 && page_ < report_.pageCount()) {
            QPainter painter(&cache_);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            report_.paintPage(page_, painter);
        }
        cachePage_ = page_;
        cacheDpi_ = dpi_;
    }
    return cache_;
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRect paper(QPoint(kGap, kGap), paperSize());
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 80));
    painter.drawImage(paper.topLeft(), renderedPage());
}

} // namespace re
