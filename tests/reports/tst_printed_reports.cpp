// The four summary reports run from the reports window, read back from the PDF the preview saves:
// texts in reading order, where they stand, and the shading of their bands.
#include "reports_fixture.h"

#include "core/dataset.h"
#include "support/pdf_text.h"

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QDate kFebruary(2024, 2, 1);
const QDate kMarch(2024, 3, 1);

// Compares page lines with the expected ones; a group of lines whose order the query leaves open
// (rows that differ only in columns it does not sort by) is written as one entry joined by " ; ".
void compareLines(const QStringList& actual, const QStringList& expected)
{
    QStringList got = actual;
    QStringList want;
    int at = 0;
    for (const QString& entry : expected) {
        QStringList group = entry.split(QStringLiteral(" ; "));
        if (group.size() > 1 && at + group.size() <= got.size()) {
            QStringList slice = got.mid(at, group.size());
            slice.sort();
            for (int i = 0; i < slice.size(); ++i) got[at + i] = slice[i];
            group.sort();
        }
        want += group;
        at += int(group.size());
    }
    QCOMPARE(got, want);
}

QImage renderedPage(const QString& pdf, const QString& folder)
{
    // 254 dots per inch: 10 pixels per millimetre.
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-f"),
                                                   QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                   QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                                   folder + QStringLiteral("/page")});
    return QImage(folder + QStringLiteral("/page.png"));
}

QRgb shadeAt(const QImage& page, double xMm, double yMm)
{
    return page.pixel(int(xMm * 10), int(yMm * 10)) & 0xffffff;
}

}  // namespace

class PrintedReportsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ReportsFixture> shop;
    QTemporaryDir dir;

    PrintedReport run(QPushButton* button, const QString& name)
    {
        return printReport(button, dir.filePath(name + QStringLiteral(".pdf")));
    }

private slots:
    void initTestCase()
    {
        if (!PdfText::toolsInstalled()) QSKIP("pdftotext (poppler-utils) is not installed");
        shop = std::make_unique<ReportsFixture>();
    }
    void cleanupTestCase() { shop.reset(); }
    void init()
    {
        shop->setPeriod(kFebruary, kMarch);
        shop->window->setProductKindIndex(0);
    }

    // A worker with two products: header, rows and footer per product, then the worker's footer and,
    // after the last worker, the grand total; three decimals in the product footer, two in the others. Each
    // entry earns its amount rounded to the kopeck (2 x 1.2345 is 2.47, 3 x 3.375 is 10.13), as the journal
    // and the pay statements show it, so that the sums agree with theirs.
    // The preview opens maximized at page width, offers a file named after the report and its period,
    // and the query is closed when it returns.
    void byWorkers()
    {
        const PrintedReport printed = run(shop->window->Button4, QStringLiteral("workers"));
        QVERIFY(!printed.pdf.isEmpty());
        QVERIFY(printed.maximized);
        QVERIFY(printed.atPageWidth);
        QCOMPARE(printed.suggestedName, QStringLiteral("Отчет по рабочим за период с 01.02.2024 по 01.03.2024.pdf"));
        QCOMPARE(printed.title, QStringLiteral("Отчет по рабочим за период с 01.02.2024 по 01.03.2024"));
        QVERIFY(!shop->byWorkers->query()->isOpen());

        const PdfText pdf(printed.pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.pageCount, 1);
        compareLines(pdf.lines(), {
            "Отчет по рабочим за период с 01.02.2024 по 01.03.2024",
            "Иванов И.И.",
            "Коробка",
            "Готовая продукция Резка 10 25,000 ; Готовая продукция Покраска (грунт) 2 2,470",
            "12 27,470",
            "Крышка",
            "Заготовки Покраска (RAL: 5) 3 10,130",
            "3 10,130",
            "37,60",
            "Петров П.П.",
            "Коробка",
            "Готовая продукция Резка 7 17,500",
            "7 17,500",
            "17,50",
            "Итого: 55,10",
            "1",
        });

        // Left-aligned texts start at their x, centred ones sit around the middle of their box.
        auto left = [&](const QString& text) { return pdf.word(text).boxMm.left(); };
        auto middle = [&](const QString& text) { return pdf.word(text).boxMm.center().x(); };
        QCOMPARE_LT(qAbs(left("Отчет") - 10), 3.0);  // after the heading's three blanks
        QCOMPARE_LT(qAbs(left("Иванов") - 10), 0.3);
        QCOMPARE_LT(qAbs(left("Заготовки") - (10 + 13.2)), 0.3);
        QCOMPARE_LT(qAbs(middle("27,470") - (10 + 163.0 + 23.8 / 2)), 0.3);
        QCOMPARE_LT(qAbs(middle("37,60") - (10 + 163.0 + 23.8 / 2)), 0.3);
        QCOMPARE_LT(qAbs(middle("55,10") - (10 + 160.9 + 28.0 / 2)), 0.3);
        QCOMPARE_LT(qAbs(left("Итого:") - (10 + 137.8)), 0.3);
        QCOMPARE_LT(qAbs(left("1") - (10 + 176.2)), 0.3);
        QCOMPARE_GT(pdf.word("1").boxMm.top(), 297 - 10 - 5 - 0.3);
        // The heading band, the spacer, the worker header 6.6 mm high, then the product header.
        QCOMPARE_GE(pdf.word("Иванов").boxMm.top(), 10 + 4.2 + 0.5 - 0.3);
        QCOMPARE_LE(pdf.word("Иванов").boxMm.bottom(), 10 + 4.2 + 0.5 + 6.6 + 0.3);
        QCOMPARE_GE(pdf.word("Коробка").boxMm.top(), 10 + 4.2 + 0.5 + 6.6 - 0.3);

        // Shading: the report header, the worker header, a total and the framed report footer.
        const QImage page = renderedPage(printed.pdf, dir.path());
        QVERIFY(!page.isNull());
        QCOMPARE(shadeAt(page, 150, pdf.word("Отчет").boxMm.center().y()), QRgb(0xF4F4F4));
        QCOMPARE(shadeAt(page, 150, pdf.word("Иванов").boxMm.center().y()), QRgb(0xE0E0E0));
        QCOMPARE(shadeAt(page, 10 + 163.5, pdf.word("27,470").boxMm.center().y()), QRgb(0xEFEFEF));
        QCOMPARE(shadeAt(page, 60, pdf.word("Итого:").boxMm.center().y()), QRgb(0xDCDCDC));
        QCOMPARE(shadeAt(page, 150, pdf.word("Коробка").boxMm.center().y()), QRgb(0xFFFFFF));
    }

    // "Заготовки" keeps the blanks only; the mass of 3 pieces of 0.1 kg prints as 0,3 and the grand
    // total mass as a whole number.
    void byProductsOfBlanks()
    {
        shop->window->productKindItem(2)->click();
        const PrintedReport printed = run(shop->window->Button2, QStringLiteral("products"));
        const PdfText pdf(printed.pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        compareLines(pdf.lines(), {
            "Отчет по продукции за период с 01.02.2024 по 01.03.2024",
            "Коробки Количество",
            "Крышка",
            "Заготовки Покраска (RAL: 5) 0,3 3",
            "0,3 3",
            "Итого: 0 3",
            "1",
        });
        QCOMPARE_LT(qAbs(pdf.word("Коробки").boxMm.left() - (10 + 136.3)), 0.3);
        QVERIFY(!shop->byProducts->query()->isOpen());
    }

    // The detailed reports print the colour number itself, 0 included, and count all pieces.
    void detailed_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("by workers") << 1 << QStringList{
            "Детальный отчет по рабочим за период с 01.02.2024 по 01.03.2024",
            "Брак Количество Сумма",
            "Иванов И.И.",
            "КР-1 Покраска 1 Готовая продукция 0 2 2,47",
            "КР-1 Резка 0 Готовая продукция 2 12 25,00",
            "КШ-2 Покраска 5 Заготовки 0 3 10,13",
            "2 17 37,60",
            "Петров П.П.",
            "КР-1 Резка 0 Готовая продукция 0 7 17,50",
            "0 7 17,50",
            "Итого: 2 24 55,10",
            "1",
        };
        QTest::newRow("by products") << 3 << QStringList{
            "Детальный отчет по продукции за период с 01.02.2024 по 01.03.2024",
            "Брак Коробки Кол-во Сумма",
            "Коробка",
            "КР-1 Покраска 1 Готовая продукция 0 5 2 2,470",
            "КР-1 Резка 0 Готовая продукция 2 47,5 19 42,500",
            "2 52,50 21 44,97",
            "Крышка",
            "КШ-2 Покраска 5 Заготовки 0 0,3 3 10,130",
            "0 0,30 3 10,13",
            "Итого: 2 52,8 24 55,10",
            "1",
        };
    }
    void detailed()
    {
        QFETCH(int, button);
        QFETCH(QStringList, lines);
        QPushButton* b = button == 1 ? shop->window->Button1 : shop->window->Button3;
        const PrintedReport printed = run(b, QStringLiteral("detailed%1").arg(button));
        const PdfText pdf(printed.pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        compareLines(pdf.lines(), lines);
        // The colour column: the numbers centred in its box.
        const double colourMiddle = button == 1 ? 10 + 73.6 + 16.1 / 2 : 10 + 81.2 + 16.7 / 2;
        for (const QString colour : {"0", "1", "5"}) {
            bool found = false;
            for (const PdfWord& w : pdf.words) found = found || (w.text == colour && qAbs(w.boxMm.center().x() - colourMiddle) < 0.3);
            QVERIFY2(found, qPrintable(colour));
        }
    }

    // Equal dates select nothing, and every report still has its page: heading, zero totals, number.
    void emptyPeriod_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("by workers") << 4 << QStringList{"Отчет по рабочим за период с 01.02.2024 по 01.02.2024",
                                                         "Итого: 0,00", "1"};
        QTest::newRow("by products") << 2 << QStringList{"Отчет по продукции за период с 01.02.2024 по 01.02.2024",
                                                          "Коробки Количество", "Итого: 0 0", "1"};
        QTest::newRow("detailed by workers") << 1 << QStringList{
            "Детальный отчет по рабочим за период с 01.02.2024 по 01.02.2024", "Брак Количество Сумма",
            "Итого: 0 0 0,00", "1"};
        QTest::newRow("detailed by products") << 3 << QStringList{
            "Детальный отчет по продукции за период с 01.02.2024 по 01.02.2024", "Брак Коробки Кол-во Сумма",
            "Итого: 0 0 0 0,00", "1"};
    }
    void emptyPeriod()
    {
        QFETCH(int, button);
        QFETCH(QStringList, lines);
        shop->setPeriod(kFebruary, kFebruary);
        QPushButton* b = shop->window->findChild<QPushButton*>(QStringLiteral("Button%1").arg(button));
        const PrintedReport printed = run(b, QStringLiteral("empty%1").arg(button));
        QCOMPARE(printed.pages, 1);
        const PdfText pdf(printed.pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.pageCount, 1);
        QCOMPARE(pdf.lines(), lines);
    }
};

QTEST_MAIN(PrintedReportsTest)
#include "tst_printed_reports.moc"
