// The reports window: how it opens, the product kind it keeps, and the export of output by products
// read back from its workbook.
#include "reports_fixture.h"

#include "core/dataset.h"
#include "support/message_recorder.h"
#include "support/modal.h"
#include "support/xlsx_reader.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString kHeader = QStringLiteral("Наименование|Операция|Вид продукции|Коробки|Кол-во");

// Every row of the first sheet, its cells' stored texts joined by '|'; the header first, the rest sorted,
// as the export orders its rows by product only.
QStringList sheetRows(const XlsxReader& book, QStringList* numberCells = nullptr)
{
    QMap<int, QStringList> rows;
    for (auto it = book.cells.cbegin(); it != book.cells.cend(); ++it) {
        QStringList& row = rows[it.key().first];
        while (row.size() < it.key().second) row << QString();
        row[it.key().second - 1] = it.value().text;
        if (numberCells && it.value().isNumber) *numberCells << QStringLiteral("%1:%2").arg(it.key().first).arg(it.key().second);
    }
    QStringList out;
    for (const QStringList& row : rows) out << row.join(u'|');
    if (out.size() > 2) std::sort(out.begin() + 1, out.end());
    return out;
}

}  // namespace

class ReportsWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ReportsFixture> shop;
    QList<QUrl> opened;
    TForm18* window() { return shop->window.get(); }

    // The export's workbook, read back and removed.
    QStringList exportedRows(QStringList* numberCells = nullptr)
    {
        opened.clear();
        window()->Button6->click();
        if (opened.size() != 1) return {QStringLiteral("no workbook opened")};
        const QString path = opened[0].toLocalFile();
        const XlsxReader book(path);
        QFile::remove(path);
        if (!book.error.isEmpty()) return {book.error};
        return sheetRows(book, numberCells);
    }

private slots:
    void initTestCase()
    {
        shop = std::make_unique<ReportsFixture>();
        window()->WorkbookOpener = [this](const QUrl& url) {
            opened << url;
            return true;
        };
    }
    void cleanupTestCase() { shop.reset(); }
    void init()
    {
        shop->setPeriod(QDate(2024, 2, 1), QDate(2024, 3, 1));
        window()->setProductKindIndex(0);
        window()->RadioGroup1->setEnabled(true);
        window()->WorkbookFolder.clear();
    }

    void looksAsDesigned()
    {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Отчеты"));
        QCOMPARE(window()->RadioGroup1->title(), QStringLiteral("Вид продукции"));
        QCOMPARE(window()->GroupBox1->title(), QStringLiteral("Период отбора"));
        QStringList items;
        for (int i = 0; i < 3; ++i) items << window()->productKindItem(i)->text().remove(u'&');
        QCOMPARE(items, (QStringList{"Все", "Готовая продукция", "Заготовки"}));
        QCOMPARE(window()->Label1->buddy(), window()->DTPicker1);
        QCOMPARE(window()->Label2->buddy(), window()->DTPicker2);
        QStringList buttons;
        for (const char* name : {"Button4", "Button2", "Button1", "Button3", "Button6", "Button5"})
            buttons << window()->findChild<QPushButton*>(QLatin1String(name))->text();
        QCOMPARE(buttons, (QStringList{"Отчет по рабочим", "Отчет по продукции", "Детальный отчет по рабочим",
                                       "Детальный отчет по продукции", "Excel (0 из 0)", "Выход"}));
    }

    // Opened in March the period is February, its leap day in and 1 March out; opened in January it is
    // December of the year before. The export shows what the period holds.
    void defaultPeriod_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("March") << QDate(2024, 3, 15) << QDate(2024, 2, 1) << QDate(2024, 3, 1)
                               << QStringList{kHeader, "Коробка|Покраска (грунт)|Готовая продукция|5|2",
                                              "Коробка|Резка|Готовая продукция|42.5|17",
                                              "Крышка|Покраска (цвет: 5)|Заготовки|0.3|3"};
        QTest::newRow("January") << QDate(2024, 1, 10) << QDate(2023, 12, 1) << QDate(2024, 1, 1)
                                 << QStringList{kHeader, "Крышка|Покраска (цвет: 7)|Заготовки|0.3|3"};
    }
    void defaultPeriod()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        shop->setPeriod(QDate(2000, 1, 1), QDate(2000, 1, 1));
        QDate shownFrom, shownTo;
        QStringList exported;
        bool closed = false;
        whenModal([&](QWidget* shown) {
            if (shown != window()) return shown->close(), void();
            shownFrom = window()->DTPicker1->date();
            shownTo = window()->DTPicker2->date();
            exported = exportedRows();
            window()->Button5->click();
            closed = !window()->isVisible();
        });
        openReportsWindow(*window(), today);
        QCOMPARE(shownFrom, from);
        QCOMPARE(shownTo, to);
        QCOMPARE(exported, rows);
        QVERIFY(closed);
    }

    // Column 2 carries the colour (0 none, 1 primer, a number), column 3 the product kind, the mass its
    // shortest form (3 x 0.1 kg is 0.3) and the count a whole number, both as numbers; the caption counts
    // the rows, and the query is closed afterwards.
    void exportedRowsOfThePeriod()
    {
        MessageRecorder messages;
        QStringList numbers;
        QCOMPARE(exportedRows(&numbers), (QStringList{kHeader, "Коробка|Покраска (грунт)|Готовая продукция|5|2",
                                                       "Коробка|Резка|Готовая продукция|42.5|17",
                                                       "Крышка|Покраска (цвет: 5)|Заготовки|0.3|3"}));
        numbers.sort();
        QCOMPARE(numbers, (QStringList{"2:4", "2:5", "3:4", "3:5", "4:4", "4:5"}));
        QCOMPARE(window()->Button6->text(), QStringLiteral("Excel (3 из 3)"));
        QVERIFY(messages.seen.isEmpty());
        QVERIFY(!window()->XLS_Rep->isOpen());
    }

    // "Заготовки" keeps the blanks only, and the caption counts only them; equal dates export the
    // header alone.
    void exportSelection_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("caption");
        QTest::newRow("blanks") << 2 << QDate(2024, 3, 1)
                                << QStringList{kHeader, "Крышка|Покраска (цвет: 5)|Заготовки|0.3|3"} << "Excel (1 из 1)";
        QTest::newRow("finished") << 1 << QDate(2024, 3, 1)
                                  << QStringList{kHeader, "Коробка|Покраска (грунт)|Готовая продукция|5|2",
                                                 "Коробка|Резка|Готовая продукция|42.5|17"}
                                  << "Excel (2 из 2)";
        QTest::newRow("equal dates") << 0 << QDate(2024, 2, 1) << QStringList{kHeader} << "Excel (0 из 0)";
    }
    void exportSelection()
    {
        QFETCH(int, kind);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        QFETCH(QString, caption);
        window()->productKindItem(kind)->click();
        window()->DTPicker2->setDate(to);
        QCOMPARE(exportedRows(), rows);
        QCOMPARE(window()->Button6->text(), caption);
    }

    // No workbook: told once, nothing opened, the caption keeps the last count, the query is closed.
    void exportWithoutWorkbook()
    {
        exportedRows();
        const QString before = window()->Button6->text();
        MessageRecorder messages;
        QTemporaryFile plainFile;
        QVERIFY(plainFile.open());
        window()->WorkbookFolder = plainFile.fileName() + QStringLiteral("/книги");
        opened.clear();
        window()->Button6->click();
        QCOMPARE(messages.texts(), QStringList{"Ошибка открытия файла Microsoft Excel.\n" + window()->WorkbookFolder});
        QVERIFY(opened.isEmpty());
        QCOMPARE(window()->Button6->text(), before);
        QVERIFY(!window()->XLS_Rep->isOpen());
    }

    // A period whose end precedes its start is refused in words before anything is read: no preview, no
    // workbook, every query closed, the export's caption as it was. Equal dates are a period (above).
    void reversedPeriod_data()
    {
        QTest::addColumn<QString>("button");
        for (const char* name : {"Button4", "Button2", "Button1", "Button3", "Button6"}) QTest::newRow(name) << name;
    }
    void reversedPeriod()
    {
        QFETCH(QString, button);
        shop->setPeriod(QDate(2024, 3, 1), QDate(2024, 2, 29));
        const QString caption = window()->Button6->text();
        MessageRecorder messages;
        // Any window the click opens is noted and closed; the watch ends with the click.
        QWidget* modal = nullptr;
        QTimer watch;
        watch.setInterval(5);
        connect(&watch, &QTimer::timeout, this, [&modal] {
            if (QWidget* now = QApplication::activeModalWidget()) {
                modal = now;
                now->close();
            }
        });
        watch.start();
        opened.clear();
        window()->findChild<QPushButton*>(button)->click();
        watch.stop();
        QCOMPARE(messages.seen.size(), 1);
        QCOMPARE(messages.seen[0].caption, QStringLiteral("Ошибка"));
        QCOMPARE(messages.seen[0].text, kReversedPeriodText);
        QVERIFY(!modal);
        QVERIFY(opened.isEmpty());
        QCOMPARE(window()->Button6->text(), caption);
        for (Dataset* q : {window()->XLS_Rep, shop->byWorkers->query(), shop->byProducts->query(),
                           shop->detailByWorkers->query(), shop->detailByProducts->query()})
            QVERIFY(!q->isOpen());
    }

    // The warehouse's restriction fixes finished products, and an opening keeps the product kind as it
    // was left; Esc closes the window.
    void productKindKeptAndFixedForDepot()
    {
        window()->productKindItem(2)->click();
        fixProductKindForDepot(*window());
        QCOMPARE(window()->productKindIndex(), 1);
        QVERIFY(!window()->RadioGroup1->isEnabled());
        int shownKind = -1;
        bool shownEnabled = true;
        whenModal([&](QWidget* shown) {
            shownKind = window()->productKindIndex();
            shownEnabled = window()->RadioGroup1->isEnabled();
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        openReportsWindow(*window(), QDate(2024, 3, 15));
        QVERIFY(!window()->isVisible());
        QCOMPARE(shownKind, 1);
        QVERIFY(!shownEnabled);
        QCOMPARE(exportedRows().size(), 3);  // the header and the two rows of finished products
    }
};

QTEST_MAIN(ReportsWindowTest)
#include "tst_reports_window.moc"
