// The spreadsheet operations of the exports, checked on the .xlsx files they write.
#include "core/application.h"
#include "support/message_recorder.h"
#include "spreadsheet/spreadsheet.h"
#include "spreadsheet/spreadsheet_files.h"
#include "support/xlsx_reader.h"

#include <QtTest>
#include <optional>

namespace {

const QString kWrongSheet = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString kCellError = QStringLiteral("Ошибка Microsoft Excel");
const QString kFileError = QStringLiteral("Ошибка открытия файла Microsoft Excel.");

// One export into a folder of its own, with an application that opens the workbook or refuses it.
struct Export {
    explicit Export(const QString& folderToUse = {})
        : folder(folderToUse.isEmpty() ? dir.path() + QStringLiteral("/книги") : folderToUse),
          sheet([this](const QUrl& url) { opened << url; return opens; }, folder)
    {
    }

    QTemporaryDir dir;
    QString folder;
    QList<QUrl> opened;
    bool opens = true;
    Spreadsheet sheet;
};

// Environment variables set for the length of a scope, restored after.
struct Environment {
    explicit Environment(const QList<std::pair<const char*, QString>>& values)
    {
        for (const auto& [name, value] : values) {
            saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            qputenv(name, value.toLocal8Bit());
        }
    }
    ~Environment()
    {
        for (const Saved& v : saved) {
            if (v.wasSet) qputenv(v.name, v.value);
            else qunsetenv(v.name);
        }
    }
    struct Saved { const char* name; QByteArray value; bool wasSet; };
    QList<Saved> saved;
};

// A shell script in `folder`, made executable.
void writeScript(const QString& folder, const QString& name, const QString& body)
{
    QFile f(QDir(folder).filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    f.close();
    QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
}

void verifyOneError(const MessageRecorder& messages, const QString& caption, const QString& text)
{
    QCOMPARE(messages.seen.size(), 1);
    QVERIFY(messages.seen[0].icon == msg::Icon::Stop);
    QCOMPARE(messages.seen[0].buttons, int(msg::Ok));
    QCOMPARE(messages.seen[0].caption, caption);
    QCOMPARE(messages.seen[0].text, text);
}

}  // namespace

class SpreadsheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setWorkstationLocale(); }

    // The operations price list: header and rows in order, texts as texts, prices as numbers,
    // nothing formatted, and the workbook handed to the application once, at the end.
    void priceList()
    {
        MessageRecorder messages;
        Export e;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        const QList<QStringList> written{
            {"Марка", "Операция", "Цена", "Вид"},
            {"007-А", "Сборка", "12,5", "Готовая продукция"},
            {"1234", "Покраска", "10", "Заготовки"},
            {"", "Резка", "0,3333", "Заготовки"},
        };
        for (int r = 0; r < written.size(); ++r)
            for (int c = 0; c < written[r].size(); ++c) QCOMPARE(e.sheet.WriteCell(1, c + 1, r + 1, written[r][c]), 1);
        QVERIFY(e.opened.isEmpty());
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);

        QCOMPARE(e.opened.size(), 1);
        const QString path = e.opened[0].toLocalFile();
        QCOMPARE(QFileInfo(path).absolutePath(), e.folder);
        const XlsxReader book(path);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.sheetNames, QStringList{"Лист1"});
        const QList<QVariantList> expected{
            {"Марка", "Операция", "Цена", "Вид"},
            {"007-А", "Сборка", 12.5, "Готовая продукция"},
            {1234.0, "Покраска", 10.0, "Заготовки"},
            {QVariant(), "Резка", 0.3333, "Заготовки"},
        };
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < expected[r].size(); ++c) QCOMPARE(book.value(r + 1, c + 1), expected[r][c]);
        QCOMPARE(book.cells.size(), 15);
        for (const auto& cell : book.cells) QVERIFY(!cell.bold && !cell.textFormat);
        QVERIFY(book.columnWidths.isEmpty());
        QVERIFY(messages.seen.isEmpty());
    }

    // A text becomes a numeric cell only when it is a number as this workstation writes one,
    // and never in a cell with the text format.
    void textOrNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("textFormat");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("decimal comma") << "12,5" << false << QVariant(12.5);
        QTest::newRow("negative") << "-3" << false << QVariant(-3.0);
        QTest::newRow("zero") << "0" << false << QVariant(0.0);
        QTest::newRow("big whole") << "100000" << false << QVariant(100000.0);
        QTest::newRow("decimal comma, text format") << "12,5" << true << QVariant("12,5");
        QTest::newRow("leading zeros") << "007" << false << QVariant("007");
        QTest::newRow("leading zeros, text format") << "0012" << true << QVariant("0012");
        QTest::newRow("decimal point") << "12.5" << false << QVariant("12.5");
        QTest::newRow("trailing zero") << "12,50" << false << QVariant("12,50");
        QTest::newRow("exponent") << "1E5" << false << QVariant("1E5");
        QTest::newRow("blank inside") << "1 000" << false << QVariant("1 000");
        QTest::newRow("leading blank") << " 12" << false << QVariant(" 12");
        QTest::newRow("more digits than a number holds") << "1234567890123456" << false << QVariant("1234567890123456");
        QTest::newRow("infinity") << "inf" << false << QVariant("inf");
        QTest::newRow("not a number") << "nan" << false << QVariant("nan");
        QTest::newRow("words") << "Заготовки" << false << QVariant("Заготовки");
    }
    void textOrNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, textFormat);
        QFETCH(QVariant, stored);
        Export e;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(textFormat ? e.sheet.WriteCellStyled(1, 2, 3, text, true, false, false) : e.sheet.WriteCell(1, 2, 3, text), 1);
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);
        const XlsxReader book(e.opened.value(0).toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.value(3, 2), stored);
        QCOMPARE(book.cell(3, 2)->textFormat, textFormat);
    }

    // The month time sheet: every cell styled and its column fitted, while the workbook stays hidden.
    void timeSheet()
    {
        MessageRecorder messages;
        Export e;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(e.sheet.ShowSpreadsheet(false), 1);
        auto styled = [&](int column, int row, const QString& text, bool textFormat, bool bold) {
            QCOMPARE(e.sheet.WriteCellStyled(1, column, row, text, textFormat, true, bold), 1);
        };
        styled(1, 1, "Январь 2024", true, true);
        styled(1, 2, "Фамилия И.О.", true, true);
        for (int day = 1; day <= 3; ++day) styled(day + 1, 2, QString::number(day), false, true);
        styled(5, 2, "Итого", true, true);
        const QList<QStringList> workers{{"Иванов И.И.", "8", "0", "12", "20"},
                                         {"Константинопольский К.К.", "10", "8", "0", "18"}};
        for (int r = 0; r < workers.size(); ++r) {
            styled(1, r + 3, workers[r][0], true, false);
            for (int c = 1; c < workers[r].size(); ++c) styled(c + 1, r + 3, workers[r][c], false, false);
        }
        QCOMPARE(e.sheet.WriteCell(1, 6, 2, "Примечание"), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 7, 2, "Итого", true, true, false), 1);
        QVERIFY(e.opened.isEmpty());
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);

        const XlsxReader book(e.opened.value(0).toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        struct Expected { int row, column; QVariant value; bool textFormat, bold; };
        const QList<Expected> expected{
            {1, 1, "Январь 2024", true, true},
            {2, 1, "Фамилия И.О.", true, true},
            {2, 2, 1.0, false, true},
            {2, 5, "Итого", true, true},
            {3, 1, "Иванов И.И.", true, false},
            {3, 3, 0.0, false, false},
            {4, 5, 18.0, false, false},
            {2, 6, "Примечание", false, false},
        };
        for (const Expected& x : expected) {
            const auto cell = book.cell(x.row, x.column);
            QVERIFY2(cell, qPrintable(QStringLiteral("row %1, column %2").arg(x.row).arg(x.column)));
            QCOMPARE(book.value(x.row, x.column), x.value);
            QCOMPARE(cell->textFormat, x.textFormat);
            QCOMPARE(cell->bold, x.bold);
        }

        const QMap<int, double> w = book.columnWidths;
        QVERIFY(!w.contains(6));
        const double longestName = QStringLiteral("Константинопольский К.К.").size();
        QVERIFY2(w.value(1) >= longestName && w.value(1) < longestName + 5, qPrintable(QString::number(w.value(1))));
        QVERIFY(w.value(5) > w.value(7));  // bold needs more room
        QVERIFY(w.value(2) < w.value(5));
        QVERIFY(w.value(2) > 1 && w.value(2) < 8.43);  // narrower than the default: fitting also shrinks
        QVERIFY(messages.seen.isEmpty());
    }

    // An empty text leaves its cell, value and formatting, alone; a later plain write keeps the
    // cell's format and font; a styled write sets bold either way.
    void rewritingCell()
    {
        MessageRecorder messages;
        Export e;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 1, 1, "0012", true, false, true), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 1, 1, "", false, true, false), 1);
        QCOMPARE(e.sheet.WriteCell(1, 1, 1, ""), 1);
        QCOMPARE(e.sheet.WriteCell(1, 2, 1, ""), 1);
        QCOMPARE(e.sheet.WriteCell(9, 1, 1, ""), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 1, 2, "5", true, false, true), 1);
        QCOMPARE(e.sheet.WriteCell(1, 1, 2, "7"), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 1, 3, "Итого", false, false, true), 1);
        QCOMPARE(e.sheet.WriteCellStyled(1, 1, 3, "Всего", false, false, false), 1);
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);

        const XlsxReader book(e.opened.value(0).toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.cells.size(), 3);
        QCOMPARE(book.value(1, 1), QVariant("0012"));
        QVERIFY(book.cell(1, 1)->textFormat && book.cell(1, 1)->bold);
        QCOMPARE(book.value(2, 1), QVariant("7"));
        QVERIFY(book.cell(2, 1)->textFormat && book.cell(2, 1)->bold);
        QCOMPARE(book.value(3, 1), QVariant("Всего"));
        QVERIFY(!book.cell(3, 1)->bold);
        QVERIFY(book.columnWidths.isEmpty());
        QVERIFY(messages.seen.isEmpty());
    }

    // A cell that cannot be written is told once and skipped; the export goes on with the next one.
    void writeFailures_data()
    {
        QTest::addColumn<bool>("styled");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        QTest::newRow("sheet 2") << false << 2 << 1 << 1 << "a" << kWrongSheet
                                 << "Ошибка при записи: лист 2, столбец 1, строка 1";
        QTest::newRow("sheet 0, styled") << true << 0 << 3 << 4 << "a" << kWrongSheet
                                         << "Ошибка при записи: лист 0, столбец 3, строка 4";
        QTest::newRow("negative sheet") << false << -1 << 1 << 1 << "a" << kWrongSheet
                                        << "Ошибка при записи: лист -1, столбец 1, строка 1";
        QTest::newRow("sheet told before cell") << false << 3 << 0 << 0 << "a" << kWrongSheet
                                                << "Ошибка при записи: лист 3, столбец 0, строка 0";
        QTest::newRow("row 0") << false << 1 << 3 << 0 << "a" << kCellError
                               << "Ошибка при записи: лист 1, столбец 3, строка 0";
        QTest::newRow("column 0, styled") << true << 1 << 0 << 5 << "a" << kCellError
                                          << "Ошибка при записи: лист 1, столбец 0, строка 5";
        QTest::newRow("row past the last") << false << 1 << 1 << 1048577 << "a" << kCellError
                                           << "Ошибка при записи: лист 1, столбец 1, строка 1048577";
        QTest::newRow("column past the last, styled") << true << 1 << 16385 << 2 << "a" << kCellError
                                                      << "Ошибка при записи: лист 1, столбец 16385, строка 2";
        QTest::newRow("text too long") << false << 1 << 2 << 2 << QString(32768, u'я') << kCellError
                                       << "Ошибка при записи: лист 1, столбец 2, строка 2";
    }
    void writeFailures()
    {
        QFETCH(bool, styled);
        QFETCH(int, sheet);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        MessageRecorder messages;
        Export e;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(e.sheet.WriteCell(1, 1, 1, "до"), 1);
        QCOMPARE(styled ? e.sheet.WriteCellStyled(sheet, column, row, text, true, true, true)
                        : e.sheet.WriteCell(sheet, column, row, text),
                 -1);
        verifyOneError(messages, caption, message);

        const QString longest(32767, u'я');
        QCOMPARE(e.sheet.WriteCell(1, 16384, 1048576, "последняя"), 1);
        QCOMPARE(e.sheet.WriteCell(1, 3, 2, longest), 1);
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);
        QCOMPARE(messages.seen.size(), 1);
        const XlsxReader book(e.opened.value(0).toLocalFile());
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.cells.size(), 3);
        QCOMPARE(book.value(1, 1), QVariant("до"));
        QCOMPARE(book.value(1048576, 16384), QVariant("последняя"));
        QCOMPARE(book.value(2, 3), QVariant(longest));
        QVERIFY(book.columnWidths.isEmpty());
    }

    // Without a workbook the export is told so, no cell can be written and nothing is shown.
    void workbookCannotBeMade_data()
    {
        QTest::addColumn<bool>("folderBlocked");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("folder cannot be made") << true << QString();
        QTest::newRow("an existing file asked for") << false << "/home/shop/Книга.xlsx";
    }
    void workbookCannotBeMade()
    {
        QFETCH(bool, folderBlocked);
        QFETCH(QString, fileName);
        MessageRecorder messages;
        QTemporaryDir dir;
        QFile plainFile(dir.filePath("файл"));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        Export e(folderBlocked ? plainFile.fileName() + "/книги" : QString());

        QCOMPARE(e.sheet.OpenWorkbook(fileName), -1);
        verifyOneError(messages, msg::kErrorCaption, kFileError + "\n" + (folderBlocked ? e.folder : fileName));
        messages.clear();
        QCOMPARE(e.sheet.WriteCell(1, 1, 1, "a"), -1);
        verifyOneError(messages, kWrongSheet, "Ошибка при записи: лист 1, столбец 1, строка 1");
        QCOMPARE(e.sheet.ShowSpreadsheet(true), 1);
        QVERIFY(e.opened.isEmpty());
        QCOMPARE(messages.seen.size(), 1);
        QVERIFY(QDir(e.folder).entryList(QDir::Files).isEmpty());
    }

    // Showing fails when the file cannot be written or no application opens it; the user is told
    // where the workbook is.
    void showFailures_data()
    {
        QTest::addColumn<bool>("folderGone");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("message");
        QTest::newRow("no application") << false << false
                                        << "Невозможно открыть Microsoft Excel.\nКнига сохранена в файле:";
        QTest::newRow("file cannot be written") << true << true << kFileError;
    }
    void showFailures()
    {
        QFETCH(bool, folderGone);
        QFETCH(bool, opens);
        QFETCH(QString, message);
        MessageRecorder messages;
        Export e;
        e.opens = opens;
        QCOMPARE(e.sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(e.sheet.WriteCell(1, 1, 1, "Марка"), 1);
        const QString path = e.folder + "/Книга1.xlsx";
        QVERIFY(QFile::exists(path));
        if (folderGone) QVERIFY(QDir(e.folder).removeRecursively());

        QCOMPARE(e.sheet.ShowSpreadsheet(true), -1);
        verifyOneError(messages, msg::kErrorCaption, message + "\n" + QDir::toNativeSeparators(path));
        QCOMPARE(e.opened.size(), folderGone ? 0 : 1);
        if (!folderGone) {
            const XlsxReader book(path);
            QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
            QCOMPARE(book.value(1, 1), QVariant("Марка"));
        }
    }

    // Each workbook gets a new file in the user's own folder of the program, under the user's cache
    // folder, whatever TMPDIR says; a workbook never shown leaves no file, and the next workbook does
    // not touch the one already shown. When the cache folder cannot be made, the documents folder.
    void newFilePerWorkbook_data()
    {
        QTest::addColumn<bool>("cacheBlocked");
        QTest::newRow("cache folder") << false;
        QTest::newRow("cache folder cannot be made") << true;
    }
    void newFilePerWorkbook()
    {
        QFETCH(bool, cacheBlocked);
        MessageRecorder messages;
        QTemporaryDir home;
        QFile plainFile(home.filePath("файл"));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        const QString cache = cacheBlocked ? plainFile.fileName() + "/cache" : home.filePath("cache");
        const Environment env({{"TMPDIR", home.filePath("нет такой папки")},
                               {"HOME", home.path()},
                               {"XDG_CONFIG_HOME", home.filePath("config")},
                               {"XDG_CACHE_HOME", cache}});
        QList<QUrl> opened;
        {
            Spreadsheet sheet([&](const QUrl& url) { opened << url; return true; });
            QCOMPARE(sheet.ShowSpreadsheet(true), 1);
            QVERIFY(opened.isEmpty());
            for (const QString& text : {"первая", "вторая"}) {
                QCOMPARE(sheet.OpenWorkbook(QString()), 1);
                QCOMPARE(sheet.WriteCell(1, 1, 1, text), 1);
                QCOMPARE(sheet.ShowSpreadsheet(true), 1);
            }
            QCOMPARE(sheet.OpenWorkbook(QString()), 1);
        }
        QCOMPARE(opened.size(), 2);
        const QString folder = QFileInfo(opened[0].toLocalFile()).absolutePath();
        QCOMPARE(folder, cacheBlocked ? home.filePath("Documents/piecework") : cache + "/piecework");
        QVERIFY(!(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther)));
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"Книга1.xlsx", "Книга2.xlsx"}));
        const XlsxReader first(opened[0].toLocalFile());
        const XlsxReader second(opened[1].toLocalFile());
        QVERIFY2(first.error.isEmpty() && second.error.isEmpty(), qPrintable(first.error + second.error));
        QCOMPARE(first.cells.size(), 1);
        QCOMPARE(first.value(1, 1), QVariant("первая"));
        QCOMPARE(second.cells.size(), 1);
        QCOMPARE(second.value(1, 1), QVariant("вторая"));
        QVERIFY(messages.seen.isEmpty());

        // A later run goes on with the next free name.
        Spreadsheet later([&](const QUrl& url) { opened << url; return true; });
        QCOMPARE(later.OpenWorkbook(QString()), 1);
        QCOMPARE(later.WriteCell(1, 1, 1, "третья"), 1);
        QCOMPARE(later.ShowSpreadsheet(true), 1);
        QCOMPARE(opened.value(2).toLocalFile(), folder + "/Книга3.xlsx");
    }

    // At start the program's own workbooks older than a week leave its folder; newer ones and every
    // other file stay.
    void oldWorkbooksGoAtStart()
    {
        QTemporaryDir home;
        const Environment env({{"XDG_CACHE_HOME", home.filePath("cache")}, {"HOME", home.path()}});
        const QString folder = home.filePath("cache/piecework");
        QVERIFY(QDir().mkpath(folder));
        const QDateTime now = QDateTime::currentDateTime();
        struct File { QString name; int daysOld; bool stays; };
        const QList<File> files{
            {"Книга1.xlsx", 8, false},       {"Книга2.xlsx", 30, false},     {"Книга12.xlsx", 7, false},
            {"Книга3.xlsx", 6, true},        {"Книга4.xlsx", 0, true},       {"отчет.xlsx", 30, true},
            {"Книга5.xlsx.bak", 30, true},   {"Книга.xlsx", 30, true},       {"Книга0.xlsx", 30, true},
            {"книга6.xlsx", 30, true},       {"Книга7.xls", 30, true},
        };
        for (const File& f : files) {
            QFile file(QDir(folder).filePath(f.name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(now.addDays(-f.daysOld).addSecs(-60), QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir(folder).mkdir("Книга8.xlsx"));  // a folder of that name is not a workbook of the program
        spreadsheet_files::removeOldWorkbooks();
        QStringList kept;
        for (const File& f : files)
            if (f.stays) kept << f.name;
        kept << "Книга8.xlsx";
        kept.sort();
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        left.sort();
        QCOMPARE(left, kept);
    }

    // The desktop's opener says whether an application took the workbook: with no application for
    // .xlsx files (xdg-open there, complaining only on its standard error) or no desktop tools at all,
    // the workbook is not said to be open and the user is told where it is.
    void desktopApplication_data()
    {
        QTest::addColumn<QString>("xdgMime");  // the script's body; empty: no xdg-mime at all
        QTest::addColumn<bool>("opens");
        QTest::newRow("no desktop tools") << QString() << false;
        QTest::newRow("no application for the type") << "exit 0" << false;
        QTest::newRow("the desktop cannot tell") << "echo 'xdg-mime: no method available' >&2; exit 3" << false;
        QTest::newRow("an application for the type")
            << "[ \"$1 $2 $3\" = 'query default application/vnd.openxmlformats-officedocument.spreadsheetml.sheet' ] "
               "&& echo calc.desktop"
            << true;
    }
    void desktopApplication()
    {
        QFETCH(QString, xdgMime);
        QFETCH(bool, opens);
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString bin = dir.filePath("bin");
        const QString log = dir.filePath("xdg-open.log");
        QVERIFY(QDir().mkpath(bin));
        if (!xdgMime.isEmpty()) {
            writeScript(bin, "xdg-mime", xdgMime);
            writeScript(bin, "xdg-open",
                        "printf '%s\\n' \"$1\" > '" + log + "'; [ -s '" + log
                            + "' ] || exit 1; echo 'xdg-open: no method available for opening' >&2; exit 3");
        }
        std::optional<Environment> env(std::in_place, QList<std::pair<const char*, QString>>{{"PATH", bin}});
        Spreadsheet sheet(Spreadsheet::openOnDesktop, dir.filePath("книги"));
        QCOMPARE(sheet.OpenWorkbook(QString()), 1);
        QCOMPARE(sheet.WriteCell(1, 1, 1, "Марка"), 1);
        const QString path = dir.filePath("книги/Книга1.xlsx");
        QCOMPARE(sheet.ShowSpreadsheet(true), opens ? 1 : -1);
        env.reset();  // the workbook is read back with the system's unzip
        if (opens) {
            QVERIFY(messages.seen.isEmpty());
            QTRY_VERIFY(QFileInfo(log).size() > 0);
            QFile f(log);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromLocal8Bit(f.readAll()).trimmed(), path);
        } else {
            verifyOneError(messages, msg::kErrorCaption,
                           "Невозможно открыть Microsoft Excel.\nКнига сохранена в файле:\n" + path);
            QVERIFY(!QFile::exists(log));
        }
        const XlsxReader book(path);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.value(1, 1), QVariant("Марка"));
    }
};

QTEST_MAIN(SpreadsheetTest)
#include "tst_spreadsheet.moc"
