#pragma once

#include "reportengine/definition.h"

#include <QDialog>

class QAction;
class QLabel;
class QScrollArea;
class QTimer;

namespace re {

class PageView;
class Report;
class WorkProgress;

// The print preview: one page at a time, zoomed to the page width or to the whole page,
// with page navigation, printing and saving as PDF. Report::preview() shows it maximized and modal.
// A report still being prepared shows its first pages at once; the rest is laid out while the preview
// waits for the user, and printing or saving first lays out what is left.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreviewDialog(Report& report, QWidget* parent = nullptr);

    int pageCount() const;
    int currentPage() const; // 0-based
    Zoom zoom() const { return zoom_; }
    double pixelsPerMm() const;
    PageView* pageView() const { return view_; }

public slots:
    void showPage(int page);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void setZoom(re::Zoom zoom);
    // Asks for a printer and a page range, then prints.
    void printReport();
    // Asks for a file, suggesting one named after the document in the user's documents folder,
    // then writes every page to it.
    void savePdf();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom();
    void updateControls();
    // A slice of the preparation under way, then the next one after the events that came meanwhile.
    void prepareSlice();
    // The preparation under way brought to its end before printing or saving; false when stopped.
    bool finishPreparing(WorkProgress& work);

    Report& report_;
    QTimer* preparing_ = nullptr;
    Zoom zoom_ = Zoom::PageWidth;
    QScrollArea* scroll_ = nullptr;
    PageView* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
    QAction* pageWidth_ = nullptr;
    QAction* wholePage_ = nullptr;
};

// A file name for the document: its name without the characters file systems refuse, and ".pdf".
QString pdfFileName(const QString& documentName);

} // namespace re
