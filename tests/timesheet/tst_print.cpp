// The printed time sheet read back from the PDF of the pages the preview shows: positions, sums over
// the shifts, the header on every page, an empty month; the preview and its save as PDF.
#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "reportengine/preview_dialog.h"
#include "support/modal.h"
#include "support/pdf_text.h"
#include "time_sheet_fixture.h"
#include "timesheet/time_sheet_print.h"
#include "timesheet/time_sheet_window.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// March 2024: worker 1 in shifts 1 and 2 on day 1, worker 2 on day 15, worker 4 in overtime only.
// November 2024 has 30 days. December 2024 has 70 workers, more than a page holds.
const char* kSheet = R"(
insert into accounts_dep.person (id, fio) select g, 'Работник ' || lpad(g::text, 3, '0') from generate_series(100, 169) g;
insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d15, d30, d31) values
    (1, 1, 3, 2024, 4, 0, 0, 0), (1, 2, 3, 2024, 5, 0, 0, 0), (2, 1, 3, 2024, 0, 8, 0, 0), (4, 4, 3, 2024, 0, 0, 0, 7),
    (1, 1, 11, 2024, 0, 0, 3, 0);
insert into accounts_dep.h_tabel (w_id, smena, month, year, d2) select g, 1, 12, 2024, 1 from generate_series(100, 169) g;
)";

// Centre of a column from the paper's left edge: margin 10 mm plus its place.
double centre(double x, double width)
{
    return 10 + x + width / 2;
}
double dayCentre(int day)
{
    return centre(81.2 + (day - 1) * (254.3 - 81.2) / 30, 5.3);
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    TForm15* print = nullptr;
    TForm19* window = nullptr;
    QTemporaryDir folder;
    int printings = 0;

    // What printing a month showed: the preview as it opened, and its pages saved as PDF from it.
    struct Printed {
        QString pdf;
        QString suggestedName;
        QString title;
        bool maximized = false;
        bool wholePage = false;
        int pages = 0;
        bool queryOpen = false;
    };

    // Prints the month of `journalDate` from the time sheet window and, in the preview, saves the
    // pages through the file dialog, as the user does.
    Printed printed(const QDate& journalDate)
    {
        Printed out;
        // A new file each time: the dialog would ask before replacing one.
        const QString pdf = folder.filePath(QString("%1-%2.pdf").arg(journalDate.toString("yyyy-MM")).arg(++printings));
        whenModal([&](QWidget*) {
            const auto close = qScopeGuard([this] { window->reject(); });
            whenModal([&](QWidget* shown) {
                const auto closePreview = qScopeGuard([shown] { shown->close(); });
                auto* preview = qobject_cast<re::PreviewDialog*>(shown);
                QVERIFY(preview);
                out.title = preview->windowTitle();
                out.maximized = preview->windowState().testFlag(Qt::WindowMaximized);
                out.wholePage = preview->zoom() == re::Zoom::WholePage;
                out.pages = preview->pageCount();
                out.queryOpen = print->H_Tabel->isOpen();
                whenModal([&](QWidget* dialog) {
                    auto* files = qobject_cast<QFileDialog*>(dialog);
                    if (!files) {
                        dialog->close();
                        return;
                    }
                    out.suggestedName = QFileInfo(files->selectedFiles().value(0)).fileName();
                    files->selectFile(pdf);
                    static_cast<QDialog*>(files)->accept();  // as its own button does
                });
                preview->findChild<QAction*>("savePdf")->trigger();
                if (QFileInfo::exists(pdf)) out.pdf = pdf;
            });
            QTest::mouseClick(window->Button6, Qt::LeftButton);
        });
        openTimeSheet(*window, journalDate);
        return out;
    }

private slots:
    void initTestCase()
    {
        if (!PdfText::toolsInstalled()) QSKIP("pdftotext (poppler-utils) is not installed");
        setWorkstationLocale();
        db = new TestDatabase(QString(fixture::kWorkers) + kSheet);
        db->connectProgram();
        print = new TForm15(*DataModule6);
        window = new TForm19(*DataModule6, *print);
    }
    void cleanupTestCase()
    {
        delete window;
        delete print;
        delete db;
    }

    // The preview opens maximized on the whole page and offers the month's name for the PDF; the
    // query is open while it shows and closed afterwards.
    void preview()
    {
        const Printed p = printed(QDate(2024, 3, 20));
        QVERIFY(p.maximized);
        QVERIFY(p.wholePage);
        QCOMPARE(p.title, QString("Табель Март 2024"));
        QCOMPARE(p.suggestedName, QString("Табель Март 2024.pdf"));
        QVERIFY(p.queryOpen);
        QVERIFY(!print->H_Tabel->isOpen());
        QVERIFY(!p.pdf.isEmpty());
    }

    // The heading, the day titles and the cells under them, the total and the page number where the
    // layout puts them; a worker's shifts added up, overtime included.
    void monthOnPaper()
    {
        const Printed p = printed(QDate(2024, 3, 20));
        QCOMPARE(p.pages, 1);
        const QString pdf = p.pdf;
        QString zeros29;
        for (int i = 0; i < 29; ++i) zeros29 += " 0";
        const PdfText text(pdf);
        QVERIFY2(text.error.isEmpty(), qPrintable(text.error));
        QCOMPARE(text.lines(), (QStringList{
                                          "Март 2024 г. 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 Итого",
                                          "Андреев А.А. 9" + zeros29 + " 0 9",
                                          "Борисов Б.Б." + QString(" 0").repeated(14) + " 8" + QString(" 0").repeated(16) + " 8",
                                          "Григорьев Г.Г." + zeros29 + " 0 7 7",
                                          "1",
                                      }));

        auto find = [&](const QString& word, int nth = 0) {
            for (const auto& w : text.words)
                if (w.text == word && nth-- == 0) return w.boxMm;
            return QRectF();
        };
        const QRectF heading = find("Март");
        QVERIFY(qAbs(heading.left() - 10) < 0.5);
        // The title row is the first; the first row's cells sit under it.
        const QRectF day1 = find("1");
        const QRectF day31 = find("31");
        QVERIFY(qAbs(day1.center().x() - dayCentre(1)) < 0.5);
        QVERIFY(qAbs(day31.center().x() - dayCentre(31)) < 0.5);
        QVERIFY(qAbs(find("15").center().x() - dayCentre(15)) < 0.5);
        QVERIFY(qAbs(find("Итого").center().x() - centre(264.6, 10.3)) < 0.5);
        QVERIFY(qAbs(heading.center().y() - day1.center().y()) < 0.5);
        const QRectF nine = find("9", 1);  // after the title "9"
        QVERIFY(qAbs(nine.center().x() - dayCentre(1)) < 0.5);
        QVERIFY(nine.top() > day1.bottom());
        const QRectF eight = find("8", 1);
        QVERIFY(qAbs(eight.center().x() - dayCentre(15)) < 0.5);
        const QRectF total = find("7", 2);  // the title, then day 31 of Григорьев
        QVERIFY(qAbs(total.center().x() - centre(264.6, 10.3)) < 0.5);
        const QRectF pageNumber = find("1", 1);  // after the title "1"
        QVERIFY(qAbs(pageNumber.right() - (10 + 252.7 + 25.7)) < 0.5);
        QVERIFY(pageNumber.top() > 190);
    }

    void thirtyDayMonthPrintsDay31()
    {
        const QStringList lines = PdfText(printed(QDate(2024, 11, 1)).pdf).lines();
        QCOMPARE(lines.value(0), QString("Ноябрь 2024 г. 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 Итого"));
        QCOMPARE(lines.value(1), "Андреев А.А." + QString(" 0").repeated(29) + " 3 0 3");
    }

    void emptyMonthStillPrints()
    {
        const Printed p = printed(QDate(2024, 5, 1));
        QCOMPARE(p.pages, 1);
        const QStringList lines = PdfText(p.pdf).lines();
        QCOMPARE(lines, (QStringList{"Май 2024 г. 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 Итого",
                                     "1"}));
    }

    // 70 workers take three pages; each opens with the header and ends with its number, and every
    // worker is printed once.
    void headerOnEveryPage()
    {
        const Printed p = printed(QDate(2024, 12, 1));
        QCOMPARE(p.pages, 3);
        const PdfText text(p.pdf);
        QCOMPARE(text.pageCount, 3);
        const QList<PdfWord>& words = text.words;
        QMap<int, double> headingTop, firstRowTop;
        QMap<int, QString> number;
        QStringList workers;
        for (int i = 0; i < words.size(); ++i) {
            const auto& w = words[i];
            if (w.text == "Декабрь") headingTop[w.page] = w.boxMm.top();
            if (w.text == "Работник") {
                workers << words[i + 1].text;
                if (!firstRowTop.contains(w.page)) firstRowTop[w.page] = w.boxMm.top();
            }
            if (w.boxMm.left() > 250 && w.boxMm.top() > 190) number[w.page] = w.text;
        }
        QCOMPARE(headingTop.keys(), (QList<int>{1, 2, 3}));
        for (int page = 1; page <= 3; ++page) {
            QVERIFY(headingTop[page] < 12);
            QVERIFY(firstRowTop[page] > headingTop[page]);
            QCOMPARE(number[page], QString::number(page));
        }
        QCOMPARE(workers.size(), 70);
        QCOMPARE(workers.first(), QString("100"));
        QCOMPARE(workers.last(), QString("169"));
        QCOMPARE(QSet<QString>(workers.begin(), workers.end()).size(), 70);
    }
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
