#include "screenshots/window_picture.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

constexpr int kTitleHeight = 28;
constexpr int kBorder = 1;
const QColor kTitleColour(0x2f, 0x4f, 0x6f);

}  // namespace

QImage windowPicture(QWidget& window)
{
    const QPixmap contents = window.grab();
    const QSize size = contents.size() / contents.devicePixelRatio();
    QImage picture(size.width() + 2 * kBorder, size.height() + kTitleHeight + kBorder, QImage::Format_RGB32);
    picture.fill(kTitleColour);
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font = window.font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    const QRect title(kBorder + 10, 0, size.width() - 20, kTitleHeight);
    p.drawText(title, Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(window.windowTitle(), Qt::ElideRight, title.width()));
    p.drawPixmap(QRect(QPoint(kBorder, kTitleHeight), size), contents);
    return picture;
}
