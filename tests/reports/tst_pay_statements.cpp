// The pay statements: the printed statements read back from their PDF (lines, factors, totals, pages per
// worker), their totals against the report by workers, the pay for payroll read back from its workbook and
// its CSV file, and what the window says when it has nothing to print.
#include "reports_fixture.h"

#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "reports/pay_statement.h"
#include "reports/pay_statements_window.h"
#include "reports/dataset_rows.h"
#include "reports/payroll.h"
#include "reportengine/report.h"
#include "spreadsheet/csv_file.h"
#include "store/month_store.h"
#include "store/reads/reports.h"
#include "support/message_recorder.h"
#include "support/modal.h"
#include "support/pdf_text.h"
#include "support/xlsx_reader.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {

// February 2024, the leap month, and around it. Operations' lowest norm prices: Резка of КР-1 2.5, Покраска
// of КР-1 1.2345, Покраска of КШ-2 2.25.
//   Андреев (1): 05.02 shift 1, 12 pieces 2 rejects at 2.5; 06.02 shift 3 at 3 (x1.2) with a 10% bonus;
//                10.02 a day off at 5 (x2); 11.02 a day off in shift 3 at 6 (x2.4), 4 pieces 1 reject, not
//                accepted; 11.02 overtime at 3.375 (x1.5) in colour 5 without hours; 29.02 (the leap day)
//                2 pieces at 1.2345 in primer; 01.03 outside.
//   Борисов (2): 01.02 3 pieces at 3.375, a price no factor of shift 1 explains, 7% bonus; 31.01 outside.
//   Борисов (3), his namesake: 15.02 1 piece at 1.2345.
//   Васильев (4): only 31.01, the last day of January.
const char* kPayJournal = R"(
insert into accounts_dep.person (id, fio) values (1, 'Андреев А.А.'), (2, 'Борисов Б.Б.'), (3, 'Борисов Б.Б.'),
    (4, 'Васильев В.В.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (1, 'КР-1', 'Коробка', 2.5), (2, 'КШ-2', 'Крышка', 0.1);
insert into accounts_dep.vid_oper (id, vid) values (1, 'Резка'), (2, 'Покраска');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (1, 1, 0, 1, 2.5), (2, 2, 0, 1, 1.2345),
    (3, 2, 1, 2, 2.25);
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok, time, prize) values
    (1, 1, 1, 12, 2, '2024-02-05', 1, 2.5, 0, 'ok', 8, 0),
    (1, 1, 1, 10, 0, '2024-02-06', 3, 3, 0, 'ok', 8, 10),
    (1, 1, 1, 10, 0, '2024-02-10', 1, 5, 0, 'ok', 8, 0),
    (1, 1, 1, 4, 1, '2024-02-11', 3, 6, 0, 'no', 4, 0),
    (1, 2, 3, 3, 0, '2024-02-11', 4, 3.375, 5, 'ok', null, 0),
    (1, 1, 2, 2, 0, '2024-02-29', 2, 1.2345, 1, 'ok', 8, 0),
    (1, 1, 1, 100, 0, '2024-03-01', 1, 2.5, 0, 'ok', 8, 0),
    (2, 2, 3, 3, 0, '2024-02-01', 1, 3.375, 5, 'ok', 8, 7),
    (2, 1, 1, 100, 0, '2024-01-31', 1, 2.5, 0, 'ok', 8, 0),
    (3, 1, 2, 1, 0, '2024-02-15', 2, 1.2345, 1, 'ok', 6, 0),
    (4, 1, 1, 50, 0, '2024-01-31', 1, 2.5, 0, 'ok', 8, 0);
)";

const QDate kFebruary(2024, 2, 1);
const QDate kMarch(2024, 3, 1);

const QString kTitles = QStringLiteral("Дата Смена Изделие Операция Цвет Кол-во Брак Годных Цена Коэфф. Часы Сумма Премия Принята");

// The lines of the statement of Андреев over February, all entries or accepted ones only.
QStringList andreevStatement(bool acceptedOnly)
{
    QStringList lines{
        "Расчетный листок",
        "Рабочий: Андреев А.А. Код: 1",
        QString("Период: с 01.02.2024 по 29.02.2024 ")
            + (acceptedOnly ? "Учтены только принятые записи" : "Учтены все записи, принятые и не принятые"),
        kTitles,
        "05.02.2024 1 КР-1 Коробка Резка 12 2 10 2,50 8 25,00 да",
        "06.02.2024 3 КР-1 Коробка Резка 10 0 10 3,00 ×1,2 8 30,00 3,00 да",
        "10.02.2024 1 КР-1 Коробка Резка 10 0 10 5,00 вых. ×2 8 50,00 да",
    };
    if (!acceptedOnly) lines << "11.02.2024 3 КР-1 Коробка Резка 4 1 3 6,00 вых. ×2,4 4 18,00 нет";
    lines << "11.02.2024 пер. КШ-2 Крышка Покраска RAL 5 3 0 3 3,375 ×1,5 10,13 да"
          << "29.02.2024 2 КР-1 Коробка Покраска грунт 2 0 2 1,2345 8 2,47 да";
    if (acceptedOnly)
        lines << "Итого: 37 35 32 117,60 3,00"
              << "Отработано дней: 5 Начислено: 117,60 Премия: 3,00"
              << "К выплате: 120,60";
    else
        lines << "Итого: 41 38 36 135,60 3,00"
              << "Отработано дней: 5 Начислено: 135,60 Премия: 3,00"
              << "К выплате: 138,60";
    lines << "Подпись рабочего: Бухгалтерия:" << "Андреев А.А." << "Страница 1 из 1";
    return lines;
}

QStringList sheetRows(const XlsxReader& book, QStringList* textCells = nullptr)
{
    QMap<int, QStringList> rows;
    for (auto it = book.cells.cbegin(); it != book.cells.cend(); ++it) {
        QStringList& row = rows[it.key().first];
        while (row.size() < it.key().second) row << QString();
        row[it.key().second - 1] = it.value().text;
        if (textCells && !it.value().isNumber && it.key().first > 1) *textCells << QStringLiteral("%1:%2").arg(it.key().first).arg(it.key().second);
    }
    QStringList out;
    for (const QStringList& row : rows) out << row.join(u'|');
    return out;
}

}  // namespace

class PayStatementsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TForm24> window;
    std::optional<StatementWorker> toPick;
    int picks = 0;
    QList<QUrl> opened;
    QTemporaryDir dir;

    PrintedReport print(const QString& name)
    {
        return printReport(window->Button1, dir.filePath(name + QStringLiteral(".pdf")));
    }

    // Clicks the button and answers the file dialog with `path` (empty: cancels it); the offered name.
    QString saveThrough(QPushButton* button, const QString& path)
    {
        QString offered;
        whenModal([&](QWidget* shown) {
            auto* files = qobject_cast<QFileDialog*>(shown);
            if (!files) return shown->close(), void();
            offered = QFileInfo(files->selectedFiles().value(0)).fileName();
            if (path.isEmpty()) return files->reject();
            files->selectFile(path);
            static_cast<QDialog*>(files)->accept();
        });
        button->click();
        return offered;
    }

private slots:
    void initTestCase()
    {
        if (!PdfText::toolsInstalled()) QSKIP("pdftotext (poppler-utils) is not installed");
        setWorkstationLocale();
        db = std::make_unique<TestDatabase>(QString::fromUtf8(kPayJournal));
        db->connectProgram();
        window = std::make_unique<TForm24>(*DataModule6, [this] {
            ++picks;
            return toPick;
        });
        window->WorkbookOpener = [this](const QUrl& url) {
            opened << url;
            return true;
        };
    }
    void cleanupTestCase()
    {
        window.reset();
        db.reset();
    }
    void init()
    {
        window->DTPicker1->setDate(kFebruary);
        window->DTPicker2->setDate(kMarch);
        window->setWorker(std::nullopt);
        window->RadioButton1->setChecked(true);
        window->CheckBox1->setChecked(false);
        opened.clear();
    }

    void looksAsDesigned()
    {
        QCOMPARE(window->objectName(), QStringLiteral("Form24"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Расчетные листки"));
        QStringList buttons;
        for (QPushButton* b : {window->Button1, window->Button2, window->Button3, window->Button4}) buttons << b->text();
        QCOMPARE(buttons, (QStringList{"Просмотр", "Excel", "CSV", "Выход"}));
        QCOMPARE(window->Label1->buddy(), window->DTPicker1);
        QCOMPARE(window->Label2->buddy(), window->DTPicker2);
        QCOMPARE(window->Label3->buddy(), window->Edit1);
        QVERIFY(window->Edit1->isReadOnly());
        QVERIFY(!window->CheckBox1->isChecked());
        QVERIFY(window->RadioButton1->isChecked());
    }

    // Opened in March the period is February; Esc closes the window. F4 in the worker's box picks a worker,
    // which chooses "one worker"; a closed book changes nothing.
    void opensOnLastMonthAndPicksByKey()
    {
        window->DTPicker1->setDate(QDate(2000, 1, 1));
        QDate from, to;
        whenModal([&](QWidget* shown) {
            from = window->DTPicker1->date();
            to = window->DTPicker2->date();
            toPick = StatementWorker{3, QStringLiteral("Борисов Б.Б.")};
            QTest::keyClick(window->Edit1, Qt::Key_F4);
            toPick.reset();
            QTest::keyClick(window->Edit1, Qt::Key_Return);
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        picks = 0;
        openPayStatements(*window, QDate(2024, 3, 15));
        QVERIFY(!window->isVisible());
        QCOMPARE(from, kFebruary);
        QCOMPARE(to, kMarch);
        QCOMPARE(picks, 2);
        QCOMPARE(window->Edit1->text(), QStringLiteral("Борисов Б.Б."));
        QCOMPARE(window->worker()->code, 3);
        QVERIFY(window->RadioButton2->isChecked());
    }

    // Every worker with entries in February, each on his own page: his lines in date and shift order with
    // the factors the entries tell (shift 3, overtime, days off; none for a price nothing explains), rejects,
    // the bonus, the entry without hours, the unaccepted entry; the totals; namesakes apart; the leap day in,
    // 31 January and 1 March out, and Васильев, who has no entry in February, left out.
    void statementsOfEveryWorker()
    {
        const PrintedReport printed = print(QStringLiteral("all"));
        QVERIFY(!printed.pdf.isEmpty());
        QCOMPARE(printed.title, QStringLiteral("Расчетные листки с 01.02.2024 по 29.02.2024"));
        QCOMPARE(printed.suggestedName, QStringLiteral("Расчетные листки с 01.02.2024 по 29.02.2024.pdf"));
        QVERIFY(printed.maximized);
        QVERIFY(!window->PayLines->isOpen());
        const PdfText pdf(printed.pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.pageCount, 3);
        QCOMPARE(pdf.lines(1), andreevStatement(false));
        const QString period = "Период: с 01.02.2024 по 29.02.2024 Учтены все записи, принятые и не принятые";
        QCOMPARE(pdf.lines(2), (QStringList{
            "Расчетный листок", "Рабочий: Борисов Б.Б. Код: 2", period, kTitles,
            "01.02.2024 1 КШ-2 Крышка Покраска RAL 5 3 0 3 3,375 8 10,13 0,71 да",
            "Итого: 3 3 8 10,13 0,71",
            "Отработано дней: 1 Начислено: 10,13 Премия: 0,71",
            "К выплате: 10,84",
            "Подпись рабочего: Бухгалтерия:", "Борисов Б.Б.", "Страница 1 из 1"}));
        QCOMPARE(pdf.lines(3), (QStringList{
            "Расчетный листок", "Рабочий: Борисов Б.Б. Код: 3", period, kTitles,
            "15.02.2024 2 КР-1 Коробка Покраска грунт 1 0 1 1,2345 6 1,23 да",
            "Итого: 1 1 6 1,23 0,00",
            "Отработано дней: 1 Начислено: 1,23 Премия: 0,00",
            "К выплате: 1,23",
            "Подпись рабочего: Бухгалтерия:", "Борисов Б.Б.", "Страница 1 из 1"}));
    }

    // A statement of a whole closed month says so and prints the totals kept at the close beside the
    // journal's, so that a difference shows; a period that is not one whole month says nothing of it.
    void closedMonthShowsItsKeptTotals()
    {
        const store::Session full = fullAccess();
        QCOMPARE(store::closeMonth(full, 2024, 2, QString()), store::MonthChange::Done);
        // What changed since the close: the kept figures stay those of the close.
        db->exec("update piecework.closed_total set earnings = earnings - 1 where year = 2024 and month = 2 and w_id = 2");
        const QString closedOn = "Месяц закрыт " + QDate::currentDate().toString("dd.MM.yyyy");
        const PdfText whole(print(QStringLiteral("closed")).pdf);
        QVERIFY2(whole.error.isEmpty(), qPrintable(whole.error));
        QVERIFY2(whole.lines(2).contains(closedOn + ". При закрытии: часов 8, годных 3, начислено 9,13 К выплате: 10,84"),
                 qPrintable(whole.lines(2).join('\n')));
        window->DTPicker2->setDate(QDate(2024, 2, 20));
        const PdfText part(print(QStringLiteral("part of it")).pdf);
        QVERIFY(!part.lines(2).join(' ').contains("Месяц закрыт"));
        QCOMPARE(store::reopenMonth(full, 2024, 2, "тест"), store::MonthChange::Done);
    }

    // Only accepted entries: the unaccepted day-off line goes, and the statement says which entries count.
    void acceptedEntriesOnly()
    {
        window->CheckBox1->setChecked(true);
        toPick = StatementWorker{1, QStringLiteral("Андреев А.А.")};
        window->Button5->click();
        const PdfText pdf(print(QStringLiteral("accepted")).pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.pageCount, 1);
        QCOMPARE(pdf.lines(), andreevStatement(true));
    }

    // A worker asked for by name who has no entry in the period still gets his statement, saying so, with
    // nothing to pay; in the pay for payroll he is a row of zeros.
    void workerWithoutEntries()
    {
        window->setWorker(StatementWorker{4, QStringLiteral("Васильев В.В.")});
        const PdfText pdf(print(QStringLiteral("none")).pdf);
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.lines(), (QStringList{
            "Расчетный листок", "Рабочий: Васильев В.В. Код: 4",
            "Период: с 01.02.2024 по 29.02.2024 Учтены все записи, принятые и не принятые", kTitles,
            "Записей за период нет",
            "Итого: 0 0 0 0,00 0,00",
            "Отработано дней: 0 Начислено: 0,00 Премия: 0,00",
            "К выплате: 0,00",
            "Подпись рабочего: Бухгалтерия:", "Васильев В.В.", "Страница 1 из 1"}));

        const QString csv = dir.filePath(QStringLiteral("none.csv"));
        saveThrough(window->Button3, csv);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")).mid(1, 2),
                 (QStringList{"4;Васильев В.В.;0;0;0;0;0;0;0,00;0,00;0,00", ";Итого;0;0;0;0;0;0;0,00;0,00;0,00"}));
    }

    // A statement too long for a page goes on with its heading on every page and counts its own pages;
    // the next worker starts on a page of his own at "Страница 1".
    void longStatementRunsOverPages()
    {
        QStringList values;
        for (int i = 0; i < 50; ++i) values << QStringLiteral("(1, 1, 1, 1, 0, '2024-04-%1', 1, 2.5, 0, 'ok', 1, 0)").arg(1 + i % 28);
        values << QStringLiteral("(3, 1, 1, 1, 0, '2024-04-02', 2, 2.5, 0, 'ok', 1, 0)");
        db->exec("insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok, time, prize) values "
                 + values.join(u',') + u';');
        window->DTPicker1->setDate(QDate(2024, 4, 1));
        window->DTPicker2->setDate(QDate(2024, 5, 1));
        const PdfText pdf(print(QStringLiteral("long")).pdf);
        db->exec("delete from accounts_dep.smena where data >= '2024-04-01'");
        QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
        QCOMPARE(pdf.pageCount, 3);
        int lines = 0;
        for (int page = 1; page <= 2; ++page) {
            const QStringList text = pdf.lines(page);
            QCOMPARE(text.mid(0, 4), (QStringList{"Расчетный листок", "Рабочий: Андреев А.А. Код: 1",
                                                   "Период: с 01.04.2024 по 30.04.2024 Учтены все записи, принятые и не принятые",
                                                   kTitles}));
            QCOMPARE(text.last(), QStringLiteral("Страница %1 из 2").arg(page));
            for (const QString& l : text) lines += l.endsWith(QStringLiteral(" 2,50 да")) ? 1 : 0;
        }
        QCOMPARE(lines, 50);
        QVERIFY(pdf.lines(2).contains(QStringLiteral("К выплате: 125,00")));
        QCOMPARE(pdf.lines(3).at(1), QStringLiteral("Рабочий: Борисов Б.Б. Код: 3"));
        QCOMPARE(pdf.lines(3).last(), QStringLiteral("Страница 1 из 1"));
    }

    // The pay for payroll as a workbook where the user chose: a row per worker (namesakes apart), equal to
    // his statement; numbers as numbers; the totals row the sum of the rows. It is shown once written.
    void payrollWorkbook()
    {
        const QString path = dir.filePath(QStringLiteral("оплата.xlsx"));
        const QString offered = saveThrough(window->Button2, path);
        QCOMPARE(offered, QStringLiteral("Оплата труда с 01.02.2024 по 29.02.2024.xlsx"));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        const XlsxReader book(path);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QStringList textCells;
        const QStringList rows = sheetRows(book, &textCells);
        QCOMPARE(rows, (QStringList{
            "Код|Рабочий|Часы, смена 1|Часы, смена 2|Часы, смена 3|Часы, переработка|Дней|Годных, шт.|Заработок|Премия|К выплате",
            "1|Андреев А.А.|16|8|12|0|5|38|135.6|3|138.6",
            "2|Борисов Б.Б.|8|0|0|0|1|3|10.13|0.71|10.84",
            "3|Борисов Б.Б.|0|6|0|0|1|1|1.23|0|1.23",
            "|Итого|24|14|12|0|7|42|146.96|3.71|150.67"}));
        QCOMPARE(textCells, (QStringList{"2:2", "3:2", "4:2", "5:2"}));
        // The totals row is the sum of the rows above it, to the kopeck.
        for (int c = 3; c <= 11; ++c) {
            qint64 sum = 0;
            for (int r = 2; r <= 4; ++r) sum += std::llround(book.value(r, c).toDouble() * 100);
            QCOMPARE(std::llround(book.value(5, c).toDouble() * 100), sum);
        }
        QVERIFY(!window->PayLines->isOpen());

        // Given up in the file dialog: nothing is written or shown.
        opened.clear();
        saveThrough(window->Button2, QString());
        QVERIFY(opened.isEmpty());
    }

    // The same as a CSV file a spreadsheet program of the shop opens as it is: UTF-8 with its mark, the
    // Cyrillic names intact, semicolons, CR LF, amounts with a decimal comma and no other characters, so
    // that they read as numbers.
    void payrollCsv()
    {
        const QString path = dir.filePath(QStringLiteral("оплата.csv"));
        QCOMPARE(saveThrough(window->Button3, path), QStringLiteral("Оплата труда с 01.02.2024 по 29.02.2024.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n")), (QStringList{
            "Код;Рабочий;Часы, смена 1;Часы, смена 2;Часы, смена 3;Часы, переработка;Дней;Годных, шт.;Заработок;Премия;К выплате",
            "1;Андреев А.А.;16;8;12;0;5;38;135,60;3,00;138,60",
            "2;Борисов Б.Б.;8;0;0;0;1;3;10,13;0,71;10,84",
            "3;Борисов Б.Б.;0;6;0;0;1;1;1,23;0,00;1,23",
            ";Итого;24;14;12;0;7;42;146,96;3,71;150,67",
            ""}));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        // The workstation reads every amount back as the number written.
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        for (const QString& amount : {"135,60", "0,71", "150,67"}) {
            bool ok = false;
            russian.toDouble(amount, &ok);
            QVERIFY(ok);
        }
    }

    // Over a month of many entries at prices of four decimals, each line rounded to the kopeck on its own: a
    // worker's printed statement total is his pay for payroll, and the statements of one name add up to that
    // name's printed line of the report by workers, to the kopeck.
    void totalsAgreeWithTheReportByWorkers()
    {
        db->exec(R"(
select setseed(0.2024);
insert into accounts_dep.person (id, fio) select 100 + g, 'Работник ' || lpad((g % 25)::text, 2, '0')
from generate_series(0, 29) g;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok, time, prize)
select 100 + (random() * 29)::int, 1 + (random())::int, 1 + (random() * 2)::int, 1 + (random() * 40)::int,
       (random() * 2)::int, date '2023-06-01' + (random() * 29)::int, 1 + (random() * 3)::int,
       round((0.5 + random() * 5)::numeric, 4), 0, 'ok', 8, case when random() < 0.2 then 5 else 0 end
from generate_series(1, 1500);
)");
        const ReportPeriod june{QDate(2023, 6, 1), QDate(2023, 7, 1)};
        Dataset lines(store::reads::payStatementLines());
        lines.setConnectionName(DataModule6->kConnection);
        lines.setParam(QStringLiteral("data1"), june.from);
        lines.setParam(QStringLiteral("data2"), june.to);
        lines.setParam(QStringLiteral("worker"), 0);
        lines.setParam(QStringLiteral("accepted"), 0);
        lines.open();
        const DatasetRows rows(lines);
        re::Report statements(paystatement::layout(), rows);
        statements.prepare();

        // The printed statements: "Рабочий: <name>   Код: <code>" on top, the earnings after "Начислено:".
        QMap<int, QString> printed;
        QMap<int, QString> names;
        int code = 0;
        QString previous;
        for (const re::Page& page : statements.document().pages) {
            for (const re::TextItem& t : page.texts) {
                if (t.text.startsWith(QStringLiteral("Рабочий: "))) {
                    code = t.text.section(QStringLiteral("Код: "), 1).toInt();
                    names[code] = t.text.mid(9).section(QStringLiteral("   "), 0, 0);
                }
                if (previous == QStringLiteral("Начислено:")) printed[code] = t.text;
                previous = t.text;
            }
        }
        const std::vector<PayrollRow> pay = payrollRows(lines);
        QCOMPARE(int(pay.size()), printed.size());
        QMap<QString, qint64> byName;
        for (const PayrollRow& r : pay) {
            QCOMPARE(printed.value(r.code), csvfile::money(r.earnings));
            QCOMPARE(names.value(r.code), r.name);
            byName[r.name] += r.earnings;
        }
        QVERIFY(byName.size() < int(pay.size()));  // namesakes among them

        // The report by workers: its worker totals are the texts of two decimals under the earnings column.
        TForm16 byWorkers(*DataModule6);
        selectRows(*byWorkers.query(), june, ProductKind::All);
        byWorkers.query()->open();
        QStringList reportNames;
        for (int r = 0; r < byWorkers.query()->recordCount(); ++r) {
            const QString fio = byWorkers.query()->valueAt(r, byWorkers.query()->fieldIndex(QStringLiteral("fio"))).toString();
            if (!reportNames.contains(fio)) reportNames << fio;
        }
        QVERIFY(byWorkers.prepare());
        const QRegularExpression kopecks(QStringLiteral("^\\d+,\\d\\d$"));
        QStringList reportTotals;
        for (const re::Page& page : byWorkers.report()->document().pages)
            for (const re::TextItem& t : page.texts)
                if (qAbs(t.rect.left() - (10 + 163.0)) < 0.01 && kopecks.match(t.text).hasMatch()) reportTotals << t.text;
        byWorkers.query()->close();
        QStringList statementTotals;
        for (const QString& name : reportNames) statementTotals << csvfile::money(byName.value(name));
        QCOMPARE(reportTotals, statementTotals);
        QCOMPARE(reportNames.size(), byName.size());
        db->exec("delete from accounts_dep.smena where data < '2023-07-01' and data >= '2023-06-01'; "
                 "delete from accounts_dep.person where id >= 100;");
    }

    // Nothing to print, a reversed period, "one worker" without one: told in words, nothing opened.
    void refusals_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<bool>("oneWorker");
        QTest::addColumn<QString>("message");
        QTest::newRow("no entries") << QDate(2022, 6, 1) << QDate(2022, 7, 1) << false
                                    << "За период с 01.06.2022 по 30.06.2022 нет записей.";
        QTest::newRow("reversed") << kMarch << kFebruary << false << kReversedPeriodText;
        QTest::newRow("no worker chosen") << kFebruary << kMarch << true
                                          << "Выберите рабочего: кнопка «...» рядом с полем «Рабочий» открывает их список.";
    }
    void refusals()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(bool, oneWorker);
        QFETCH(QString, message);
        window->DTPicker1->setDate(from);
        window->DTPicker2->setDate(to);
        window->RadioButton2->setChecked(oneWorker);
        for (QPushButton* b : {window->Button1, window->Button2, window->Button3}) {
            MessageRecorder messages;
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
            b->click();
            watch.stop();
            QCOMPARE(messages.texts(), QStringList{message});
            QVERIFY(!modal);
            QVERIFY(opened.isEmpty());
            QVERIFY(!window->PayLines->isOpen());
        }
    }
};

QTEST_MAIN(PayStatementsTest)
#include "tst_pay_statements.moc"
