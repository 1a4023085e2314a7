#include "example_report.h"

#include "reportengine/memory_row_source.h"
#include "reportengine/report.h"
#include "reportengine/report_error.h"

#include <QTest>

using namespace re;
using example::pageLines;

namespace {

// The page on which a text first appears, 1-based; 0 when it does not.
int pageOf(const Document& doc, const QString& text)
{
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        for (const TextItem& t : doc.pages[p].texts) {
            if (t.text == text)
                return int(p) + 1;
        }
    }
    return 0;
}

// A month sheet: heading and day titles repeated on every page, a row per worker, page numbers.
ReportDefinition monthSheet()
{
    ReportDefinition d;
    d.page.orientation = QPageLayout::Landscape;
    d.previewZoom = Zoom::WholePage;
    const FontStyle bold{"Arial", 10, true};
    d.pageHeader.height = 6.6;
    d.pageHeader.frame = Frame::topAndBottom();
    d.pageHeader.elements = {
        label(0, 80, QString()).withName("QRLabel33").withFont(bold),
        label(81.2, 5.3, "1", Qt::AlignHCenter).withFont(bold),
        label(86.8, 5.3, "2", Qt::AlignHCenter).withFont(bold),
        label(264.6, 12, "Итого").withFont(bold),
    };
    d.detail.height = 6.3;
    d.detail.elements = {
        expr(0, 80.4, "fio"),
        expr(81.2, 5.3, "sd1", Qt::AlignHCenter),
        expr(86.8, 5.3, "sd2", Qt::AlignHCenter),
        expr(264.6, 10.3, "sd1+sd2", Qt::AlignHCenter),
    };
    d.pageFooter.height = 5;
    d.pageFooter.elements = {expr(252.7, 25.7, "PAGENUMBER", Qt::AlignRight)};
    return d;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    // Worker header, product headers with their rows and footers, the worker footer summing both
    // products, and the grand total at the end; the product sums restart, the grand total never does.
    void nestedGroupsPrintInOrderWithTheirSums()
    {
        const MemoryRowSource rows = example::workRows(example::smallWorkSet());
        Report report(example::byWorkers(), rows);
        report.setLabelText("QRLabel1", "Отчёт за март");
        report.prepare();

        QCOMPARE(report.pageCount(), 1);
        const QStringList expected{
            "Отчёт за март",
            "Иванов",
            "Коробка",
            "Готовая продукция | резка | 10 | 25,000",
            "Готовая продукция | сварка | (грунт) | 2 | 12,500",
            "12 | 37,500",
            "Крышка",
            "Заготовки | покраска | (RAL: 5) | 4 | 10,125",
            "4 | 10,125",
            "47,63",
            "Петров",
            "Коробка",
            "Готовая продукция | резка | 7 | 17,500",
            "7 | 17,500",
            "17,50",
            "Итого: | 65,13",
            "1",
        };
        QCOMPARE(pageLines(report.document(), 0), expected);
    }

    void keepHeaderWithFooter_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<double>("detailHeight");
        QTest::addColumn<int>("headerPage");

        // After group A the page has 20 mm left: room for B's header (10) but not with its footer (20).
        QTest::newRow("kept with its footer, moves") << true << 55.0 << 2;
        QTest::newRow("not kept, stays") << false << 55.0 << 1;
        // 40 mm left: header and footer fit, so it stays even when kept.
        QTest::newRow("kept, room for both") << true << 50.0 << 1;
    }

    void keepHeaderWithFooter()
    {
        QFETCH(bool, keep);
        QFETCH(double, detailHeight);
        QFETCH(int, headerPage);

        ReportDefinition d; // A4 portrait: 277 mm printable, 270 above the page footer
        Group g;
        g.expression = "g";
        g.keepHeaderWithFooter = keep;
        g.header = Band{.height = 10, .elements = {expr(0, 50, "'head '+g")}};
        g.footer = Band{.height = 20, .elements = {expr(0, 50, "'end '+g")}};
        d.groups = {g};
        d.detail = Band{.height = detailHeight, .elements = {expr(0, 50, "v")}};
        d.pageFooter = Band{.height = 7, .elements = {expr(0, 50, "PAGENUMBER")}};
        const MemoryRowSource rows("q", {"g", "v"}, {{"A", 1}, {"A", 2}, {"A", 3}, {"A", 4}, {"B", 5}});

        Report report(d, rows);
        report.prepare();
        QCOMPARE(pageOf(report.document(), "end A"), 1);
        QCOMPARE(pageOf(report.document(), "head B"), headerPage);
        QCOMPARE(pageOf(report.document(), "5"), 2);
    }

    void headerRepeatsAndPagesAreNumbered()
    {
        MemoryRowSource rows("H_Tabel", {"fio", "sd1", "sd2"});
        for (int i = 1; i <= 60; ++i)
            rows.append({QStringLiteral("Работник %1").arg(i, 2, 10, QChar(u'0')), i, 1});
        Report report(monthSheet(), rows);
        report.setLabelText("QRLabel33", "Март 2024 г.");
        report.prepare();

        // 190 mm printable less 6.6 header and 5 footer leaves room for 28 rows of 6.3 mm.
        QCOMPARE(report.pageCount(), 3);
        const QList<int> rowsPerPage{28, 28, 4};
        int worker = 0;
        for (int page = 0; page < report.pageCount(); ++page) {
            const QStringList lines = pageLines(report.document(), page);
            QCOMPARE(lines.first(), QStringLiteral("Март 2024 г. | 1 | 2 | Итого"));
            QCOMPARE(lines.last(), QString::number(page + 1));
            QCOMPARE(lines.size() - 2, rowsPerPage[page]);
            for (int i = 1; i < lines.size() - 1; ++i) {
                ++worker;
                QCOMPARE(lines[i], QStringLiteral("Работник %1 | %2 | 1 | %3")
                                       .arg(worker, 2, 10, QChar(u'0')).arg(worker).arg(worker + 1));
            }
        }
        QCOMPARE(worker, 60);
    }

    void emptySourcePrintsTheBandsWithoutRows()
    {
        const MemoryRowSource rows = example::workRows({});
        Report report(example::byWorkers(), rows);
        report.setLabelText("QRLabel1", "Отчёт за март");
        report.prepare();
        QCOMPARE(report.pageCount(), 1);
        QCOMPARE(pageLines(report.document(), 0), (QStringList{"Отчёт за март", "Итого: | 0,00", "1"}));

        MemoryRowSource noWorkers("H_Tabel", {"fio", "sd1", "sd2"});
        Report sheet(monthSheet(), noWorkers);
        sheet.setLabelText("QRLabel33", "Февраль 2024 г.");
        sheet.prepare();
        QCOMPARE(pageLines(sheet.document(), 0), (QStringList{"Февраль 2024 г. | 1 | 2 | Итого", "1"}));
    }

    void preparingAgainGivesTheSamePages()
    {
        std::vector<QVariantList> data;
        for (int i = 0; i < 300; ++i)
            data.push_back({QStringLiteral("W%1").arg(i / 40), QStringLiteral("P%1").arg(i / 7), "op", i % 2, i % 4, i, i * 1.25});
        const MemoryRowSource rows = example::workRows(data);
        Report report(example::byWorkers(), rows);
        report.prepare();
        const Document first = report.document();
        report.prepare();
        QVERIFY(report.pageCount() > 3);
        QCOMPARE(report.document().pages.size(), first.pages.size());
        for (int p = 0; p < report.pageCount(); ++p)
            QCOMPARE(pageLines(report.document(), p), pageLines(first, p));
    }

    // A statement per worker: each worker on pages of his own, his header again at the top of each, the
    // pages counted per worker ("n of N", N known only once his last page is laid out), his footer after
    // his rows; the first worker follows the report's own header on page 1.
    void valuesOnPagesOfTheirOwn()
    {
        ReportDefinition d; // A4 portrait: 277 mm printable, 270 above the page footer
        Group report;
        report.header = Band{.height = 10, .elements = {label(0, 50, "Ведомость")}};
        Group worker;
        worker.expression = "w";
        worker.numbersPages = true;
        worker.repeatHeader = true;
        worker.header = Band{.height = 10, .elements = {expr(0, 50, "'Работник '+w")}};
        worker.footer = Band{.height = 15, .elements = {expr(0, 50, "'итого '+STR(sum(v))")}};
        d.groups = {report, worker};
        d.detail = Band{.height = 50, .elements = {expr(0, 50, "v")}};
        d.pageFooter = Band{.height = 7, .elements = {expr(0, 80, "'стр. '+STR(PAGENUMBER)+' из '+STR(PAGECOUNT)")}};
        // A: 7 rows, 50 mm each: 5 below the two headers on page 1, 2 on page 2. B: 1 row. C: 5 rows, which
        // fill a page, so that its footer goes on a page of its own.
        MemoryRowSource rows("q", {"w", "v"});
        for (int i = 1; i <= 7; ++i) rows.append({"A", i});
        rows.append({"B", 8});
        for (int i = 9; i <= 13; ++i) rows.append({"C", i});

        Report r(d, rows);
        r.prepare();
        const QList<QStringList> expected{
            {"Ведомость", "Работник A", "1", "2", "3", "4", "5", "стр. 1 из 2"},
            {"Работник A", "6", "7", "итого 28", "стр. 2 из 2"},
            {"Работник B", "8", "итого 8", "стр. 1 из 1"},
            {"Работник C", "9", "10", "11", "12", "13", "стр. 1 из 2"},
            // The footer moves on alone and takes the header along.
            {"Работник C", "итого 55", "стр. 2 из 2"},
        };
        QCOMPARE(r.pageCount(), expected.size());
        for (int p = 0; p < r.pageCount(); ++p)
            QCOMPARE(pageLines(r.document(), p), expected[p]);
    }

    // The first pages are ready to show before the rest is laid out; laid out a slice at a time, the pages
    // come out as in one go, and the count includes a page only once its "of N" is known.
    void firstPagesBeforeTheRest()
    {
        ReportDefinition d;
        Group worker;
        worker.expression = "w";
        worker.numbersPages = true;
        worker.repeatHeader = true;
        worker.header = Band{.height = 10, .elements = {expr(0, 50, "w")}};
        d.groups = {worker};
        d.detail = Band{.height = 60, .elements = {expr(0, 50, "v")}};
        d.pageFooter = Band{.height = 7, .elements = {expr(0, 80, "STR(PAGENUMBER)+'/'+STR(PAGECOUNT)")}};
        MemoryRowSource rows("q", {"w", "v"});
        for (int i = 0; i < 2000; ++i) rows.append({QStringLiteral("W%1").arg(i / 10, 3, 10, QChar(u'0')), i});

        Report whole(d, rows);
        whole.prepare();
        QCOMPARE(whole.pageCount(), 200 * 3);

        Report sliced(d, rows);
        sliced.prepareFirstPages(1);
        QVERIFY(!sliced.isPrepared());
        QCOMPARE_GE(sliced.pageCount(), 3);  // the first worker's three pages, counted
        QCOMPARE_LT(sliced.pageCount(), 20);
        QCOMPARE(pageLines(sliced.document(), 2), (QStringList{"W000", "8", "9", "3/3"}));
        int slices = 0;
        while (!sliced.prepareMore(7)) {
            QCOMPARE_LE(sliced.pageCount(), int(sliced.document().pages.size()));
            ++slices;
        }
        QVERIFY(slices > 100);
        QVERIFY(sliced.isPrepared());
        QCOMPARE(sliced.pageCount(), whole.pageCount());
        for (int p = 0; p < whole.pageCount(); ++p)
            QCOMPARE(pageLines(sliced.document(), p), pageLines(whole.document(), p));

        // Stopped half way, the rest follows from where it stood.
        Report stopped(d, rows);
        stopped.prepareFirstPages(1);
        QVERIFY(!stopped.finishPreparing([](int done, int, int) { return done < 1000; }));
        QVERIFY(!stopped.isPrepared());
        QVERIFY(stopped.finishPreparing());
        QCOMPARE(pageLines(stopped.document(), 599), pageLines(whole.document(), 599));
    }

    // What a group may not do is refused when the report is built.
    void pageOptionsRefused_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("own group begins pages") << 0 << "only a group with an expression";
        QTest::newRow("two groups number pages") << 1 << "only one group can number its own pages";
        QTest::newRow("PAGECOUNT with SUM") << 2 << "PAGECOUNT cannot hold SUM()";
        QTest::newRow("PAGECOUNT as group key") << 3 << "a group expression cannot hold PAGECOUNT";
    }
    void pageOptionsRefused()
    {
        QFETCH(int, fault);
        QFETCH(QString, message);
        ReportDefinition d;
        Group a;
        a.expression = "w";
        Group b;
        b.expression = "v";
        switch (fault) {
        case 0: {
            Group own;
            own.startOnNewPage = true;
            d.groups = {own};
            break;
        }
        case 1:
            a.numbersPages = b.numbersPages = true;
            d.groups = {a, b};
            break;
        case 2:
            d.pageFooter = Band{.height = 5, .elements = {expr(0, 50, "STR(PAGECOUNT)+STR(sum(v))")}};
            break;
        case 3:
            a.expression = "PAGECOUNT";
            d.groups = {a};
            break;
        }
        const MemoryRowSource rows("q", {"w", "v"}, {{"A", 1}});
        try {
            Report r(d, rows);
            QFAIL("built");
        } catch (const ReportError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void bandTallerThanAPageStillEnds()
    {
        ReportDefinition d;
        d.detail = Band{.height = 300, .elements = {expr(0, 50, "v")}};
        const MemoryRowSource rows("q", {"v"}, {{1}, {2}, {3}});
        Report report(d, rows);
        report.prepare();
        QCOMPARE(report.pageCount(), 3);
        QCOMPARE(pageOf(report.document(), "3"), 3);
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
