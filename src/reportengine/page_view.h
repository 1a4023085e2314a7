#pragma once

#include <QImage>
#include <QWidget>

namespace re {

class Report;

// One page of a prepared report on screen: the paper on a grey ground, drawn at the zoom's
// resolution so that fonts are sized for it rather than scaled bitmaps.
class PageView : public QWidget {
    Q_OBJECT
public:
    // Grey around the paper, in pixels.
    static constexpr int kGap = 12;

    explicit PageView(const Report& report, QWidget* parent = nullptr);

    int page() const { return page_; }
    void setPage(int page);
    double pixelsPerMm() const { return dpi_ / 25.4; }
    // Rounded to whole dots per inch: devices measure resolution that way, and text and boxes must agree.
    void setPixelsPerMm(double pixelsPerMm);
    // The page as shown, painted at the current zoom.
    QImage renderedPage();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize paperSize() const;

    const Report& report_;
    int page_ = 0;
    int dpi_ = 96;
    QImage cache_;
    int cachePage_ = -1;
    int cacheDpi_ = 0;
};

} // namespace re
