#include "example_report.h"

#include "reportengine/page_view.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace re;

namespace {

constexpr double kPtPerMm = 72 / 25.4;

struct Word {
    QString text;
    QRectF box; // points, from the page's top-left corner
    int page = 0;
};

QString runTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdftotext -bbox: every word with its box.
QList<Word> wordsOf(const QString& pdf)
{
    const QString html = runTool("pdftotext", {"-bbox", pdf, "-"});
    QList<Word> words;
    int page = 0;
    static const QRegularExpression token(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        words.append({m.captured(5), box, page});
    }
    return words;
}

// pdftotext -layout, one string per non-empty line with runs of spaces made single.
QStringList layoutLines(const QString& pdf)
{
    QStringList lines;
    for (QString line : runTool("pdftotext", {"-layout", pdf, "-"}).split(u'\n')) {
        line = line.simplified();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

const TextItem* itemWithText(const Document& doc, int page, const QString& text)
{
    for (const TextItem& t : doc.pages.at(size_t(page)).texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

std::vector<QVariantList> manyRows()
{
    std::vector<QVariantList> data;
    for (int i = 0; i < 300; ++i)
        data.push_back({QStringLiteral("W%1").arg(i / 40), QStringLiteral("P%1").arg(i / 7), "op", i % 2, i % 4, i, i * 1.25});
    return data;
}

bool hasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 160)
                return true;
        }
    }
    return false;
}

} // namespace

class RenderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void pdfHoldsTextsAtTheirPositions()
    {
        const MemoryRowSource rows = example::workRows(example::smallWorkSet());
        Report report(example::byWorkers(), rows);
        report.setLabelText("QRLabel1", "Отчёт за март 2024 г.");
        report.prepare();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        report.writePdf(pdf);

        // The texts, in reading order, as the columns put them.
        const QStringList lines = layoutLines(pdf);
        const QStringList expected{
            "Отчёт за март 2024 г.",
            "Иванов",
            "Коробка",
            "Готовая продукция резка 10 25,000",
            "Готовая продукция сварка (грунт) 2 12,500",
            "12 37,500",
            "Крышка",
            "Заготовки покраска (RAL: 5) 4 10,125",
            "4 10,125",
            "47,63",
            "Петров",
            "Коробка",
            "Готовая продукция резка 7 17,500",
            "7 17,500",
            "17,50",
            "Итого: 65,13",
            "1",
        };
        QCOMPARE(lines, expected);

        // Where they are: a left-aligned text starts at its box, a right-aligned one ends at it,
        // and each sits inside its band.
        const QList<Word> words = wordsOf(pdf);
        auto word = [&](const QString& text) {
            for (const Word& w : words) {
                if (w.text == text)
                    return w;
            }
            return Word{};
        };
        const Word total = word("Итого:");
        const TextItem* totalItem = itemWithText(report.document(), 0, "Итого:");
        QVERIFY(totalItem);
        QCOMPARE_LT(qAbs(total.box.left() - (10 + 137.8) * kPtPerMm), 0.5);
        QCOMPARE_GE(total.box.top(), totalItem->rect.top() * kPtPerMm - 0.5);
        QCOMPARE_LE(total.box.bottom(), totalItem->rect.bottom() * kPtPerMm + 0.5);

        const Word pageNumber = word("1");
        QCOMPARE_LT(qAbs(pageNumber.box.right() - (10 + 176.2 + 13.8) * kPtPerMm), 0.5);
        QCOMPARE_GT(pageNumber.box.top(), (297 - 10 - 5) * kPtPerMm - 0.5); // in the page footer

        const Word heading = word("Отчёт");
        QCOMPARE_LT(qAbs(heading.box.left() - 10 * kPtPerMm), 0.5);
        QCOMPARE_GE(heading.box.top(), 10 * kPtPerMm - 0.5);
        QCOMPARE_LE(heading.box.bottom(), (10 + 7.7) * kPtPerMm + 0.5);

        // Arial became its metric twin, and nothing fell back to another face.
        const QString fonts = runTool("pdffonts", {pdf});
        QVERIFY2(fonts.contains("LiberationSans"), qPrintable(fonts));
        QVERIFY2(!fonts.contains("DejaVu"), qPrintable(fonts));
    }

    void printsEveryPageThroughThePrinter()
    {
        const MemoryRowSource rows = example::workRows(manyRows());
        Report report(example::byWorkers(), rows);
        report.prepare();
        QVERIFY(report.pageCount() >= 3);

        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        report.print(printer);

        const QList<Word> words = wordsOf(dir.filePath("printed.pdf"));
        QCOMPARE(words.isEmpty() ? 0 : words.last().page, report.pageCount());
        // Each page ends with its number, at the same place as in the prepared pages.
        for (int page = 1; page <= report.pageCount(); ++page) {
            Word last;
            for (const Word& w : words) {
                if (w.page == page && w.box.top() >= last.box.top())
                    last = w;
            }
            QCOMPARE(last.text, QString::number(page));
            QCOMPARE_LT(qAbs(last.box.right() - 200 * kPtPerMm), 0.5);
        }
    }

    void longTextIsClippedToItsBox()
    {
        ReportDefinition d;
        d.detail.height = 10;
        d.detail.elements = {label(20, 10, "WWWWWWWWWWWWWWWWWWWW"), label(30, 30, QString())};
        const MemoryRowSource rows("q", {"v"}, {{1}});
        Report report(d, rows);
        report.prepare();

        QImage image(2100, 2970, QImage::Format_RGB32); // A4 at 10 pixels per mm
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        image.fill(Qt::white);
        QPainter painter(&image);
        report.paintPage(0, painter);
        painter.end();

        // The box spans 30..40 mm across and 10..20 mm down; its neighbour starts at 40 mm.
        QVERIFY(hasInk(image, QRect(300, 100, 100, 100)));
        QVERIFY(!hasInk(image, QRect(401, 100, 400, 100)));
    }

    void previewNavigatesAndZooms()
    {
        const MemoryRowSource rows = example::workRows(manyRows());
        Report report(example::byWorkers(), rows);
        report.prepare();
        const int pages = report.pageCount();
        QVERIFY(pages >= 3);

        PreviewDialog preview(report);
        preview.resize(900, 700);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));

        auto trigger = [&](const char* name) {
            QAction* a = preview.findChild<QAction*>(name);
            QVERIFY2(a, name);
            a->trigger();
        };
        auto* label = preview.findChild<QLabel*>("pageLabel");
        QCOMPARE(preview.pageCount(), pages);
        QCOMPARE(preview.currentPage(), 0);
        QVERIFY(!preview.findChild<QAction*>("previousPage")->isEnabled());
        trigger("nextPage");
        QCOMPARE(preview.currentPage(), 1);
        QCOMPARE(label->text(), QStringLiteral("Страница 2 из %1").arg(pages));
        trigger("lastPage");
        QCOMPARE(preview.currentPage(), pages - 1);
        QVERIFY(!preview.findChild<QAction*>("nextPage")->isEnabled());
        preview.nextPage();
        QCOMPARE(preview.currentPage(), pages - 1);
        trigger("previousPage");
        QCOMPARE(preview.currentPage(), pages - 2);
        trigger("firstPage");
        QCOMPARE(preview.currentPage(), 0);

        const QWidget* viewport = preview.findChild<QScrollArea*>("pageScroll")->viewport();
        const QWidget* view = preview.pageView();
        trigger("zoomWholePage");
        QCOMPARE(preview.zoom(), Zoom::WholePage);
        QCOMPARE_LE(view->height(), viewport->height());
        QCOMPARE_LE(view->width(), viewport->width());
        const double whole = preview.pixelsPerMm();
        trigger("zoomPageWidth");
        QCOMPARE(preview.zoom(), Zoom::PageWidth);
        QCOMPARE_LE(qAbs(view->width() - viewport->width()), 5);
        QCOMPARE_GT(preview.pixelsPerMm(), whole);

        // The page shown is the report's page, not a blank sheet.
        const QImage shown = preview.pageView()->renderedPage();
        QVERIFY(hasInk(shown, shown.rect()));
    }

    void previewOpensMaximizedWithTheReportsZoom()
    {
        const MemoryRowSource rows = example::workRows({});
        ReportDefinition d = example::byWorkers();
        d.previewZoom = Zoom::WholePage;
        Report report(d, rows);

        bool seen = false;
        bool maximized = false;
        Zoom zoom = Zoom::PageWidth;
        int pages = 0;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<PreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            seen = true;
            maximized = preview->windowState().testFlag(Qt::WindowMaximized);
            zoom = preview->zoom();
            pages = preview->pageCount();
            preview->accept();
        });
        QTimer::singleShot(10000, [] {
            // never leave the test hanging on a preview nobody closes
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        report.preview(); // prepares, since nobody did
        QVERIFY(seen);
        QVERIFY(maximized);
        QCOMPARE(zoom, Zoom::WholePage);
        QCOMPARE(pages, 1);
    }
};

QTEST_MAIN(RenderTest)
#include "tst_render.moc"
