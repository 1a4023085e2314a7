// The history windows over a real history: an entry's versions as the program, the old program (psql, who
// says nothing of who acts) and a deletion left them, field by field with who; restoring a deletion from the
// window; which roles reach what; the changes of a period with their filters, pages and workbook.
#include "core/application.h"
#include "core/data_grid.h"
#include "core/dataset.h"
#include "journal/changes_window.h"
#include "journal/entry_history_window.h"
#include "reports/report_period.h"
#include "store/books_store.h"
#include "support/books_fixture.h"
#include "support/message_recorder.h"
#include "support/xlsx_reader.h"
#include "program_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

using store::Role;

namespace {

const QDate kDay(2024, 3, 11);

const char* kMoreBooks = R"(
insert into accounts_dep.person (id, fio) values (2, 'Борисов Б.Б.');
insert into accounts_dep.vid_oper (id, vid) values (6, 'Покраска');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (21, 6, 1, 10, 2);
select setval('accounts_dep.person_id_seq', 10), setval('accounts_dep.vid_oper_id_seq', 10);
)";

store::Session as(Role role, const QString& user, const QString& host)
{
    return store::Session{store::programDb(), store::Actor{role, QString(), host, user}};
}

store::Session ivanova()
{
    return as(Role::Full, QStringLiteral("ivanova"), QStringLiteral("cex-2"));
}

// The grid's lines: action, field, before, after, database user, actor, role, workstation. A version
// names when and who on its first line only; the lines after it are read as of that version.
QStringList versionLines()
{
    QStringList lines;
    QTableWidget* grid = Form25->VersionsGrid;
    QStringList version(TForm25::ColumnCount);
    const int whoColumns[] = {TForm25::When, TForm25::Operation, TForm25::DbUser, TForm25::Actor, TForm25::Role, TForm25::Workstation};
    for (int r = 0; r < grid->rowCount(); ++r) {
        const bool first = !grid->item(r, TForm25::When)->text().isEmpty();
        for (int c : whoColumns) {
            if (first) version[c] = grid->item(r, c)->text();
            else if (!grid->item(r, c)->text().isEmpty()) return {"a version's later line names who: " + grid->item(r, c)->text()};
        }
        QStringList cells;
        for (int c = TForm25::Operation; c < TForm25::ColumnCount; ++c)
            cells << (c == TForm25::Field || c == TForm25::Before || c == TForm25::After ? grid->item(r, c)->text() : version[c]);
        lines << cells.join(u'|');
    }
    return lines;
}

QStringList linesOf(const QStringList& lines, const QString& action)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(action + u'|')) out << l;
    return out;
}

QStringList entryChoices()
{
    QStringList items;
    for (int i = 0; i < Form25->EntryBox->count(); ++i) items << Form25->EntryBox->itemText(i);
    return items;
}

// The journal on kDay, shift 1, as the user picks it.
void showDay()
{
    Form1->DateT->setDate(kDay);
    Form1->loadDate();
}

// Ctrl+H in the journal, as the user presses it: a shortcut reaches the active window only.
void pressCtrlH(QWidget* where)
{
    Form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(where, Qt::Key_H, Qt::ControlModifier);
}

// Runs `inWindow` in the entry's history window opened by Ctrl+H in the journal's grid, then closes it.
void withEntryHistory(const std::function<void()>& inWindow)
{
    whenModal([inWindow](QWidget* w) {
        inWindow();
        static_cast<QDialog*>(w)->reject();
    });
    pressCtrlH(Form1->DBGrid2);
}

QStringList gridColumn(QTableWidget* grid, int column)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) out << grid->item(r, column)->text();
    return out;
}

}  // namespace

class HistoryWindowsTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;
    int entry = 0;

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture() + kMoreBooks);
        db->connectProgram();
    }
    void cleanupTestCase() { delete db; }
    void cleanup() { takeDownWindows(); }

    // Added and changed by the program, changed by the old program, deleted: every version, field by field.
    void entryHistoryShowsEveryVersionWithWho()
    {
        QCOMPARE(store::saveEntry(ivanova(), fixtureEntry("10", "8", 0, kDay), std::nullopt), store::Outcome::Saved);
        entry = db->value("select max(id) from accounts_dep.smena").toInt();
        QCOMPARE(store::saveEntry(ivanova(), fixtureEntry("12", "8", 0, kDay), entry), store::Outcome::Saved);
        db->exec(QString("update accounts_dep.smena set time = 6 where id = %1").arg(entry));

        QVERIFY(startOn(*db));
        createOtherWindows();
        QStringList lines;
        QStringList choices;
        whileSignedIn("8629", [&] {
            showDay();
            withEntryHistory([&] {
                lines = versionLines();
                choices = entryChoices();
            });
        });
        QCOMPARE(choices, QStringList{QString("№ %1: Алексеев А.А., ПЛ-10, Сварка").arg(entry)});
        const QString who = "sys|full|Полный доступ|ivanova@cex-2";
        const QStringList added = linesOf(lines, "добавление");
        QVERIFY2(added.contains("добавление|Фамилия И.О.||Алексеев А.А.|" + who), qPrintable(added.join('\n')));
        QVERIFY(added.contains("добавление|Дата||11.03.2024|" + who));
        QVERIFY(added.contains("добавление|Операция||Сварка (Готовая продукция)|" + who));
        QVERIFY(added.contains("добавление|Кол-во||10|" + who));
        QVERIFY(added.contains("добавление|Цена||3,5|" + who));
        // Only what changed, in the order it was changed; the old program is there with its database user only.
        QCOMPARE(linesOf(lines, "изменение"), QStringList({"изменение|Кол-во|10|12|" + who, "изменение|Часы|8|6|sys|||"}));
        QCOMPARE(lines.first().section('|', 0, 0), QString("добавление"));

        // Deleted: no longer in the journal, it is found among the day's deletions.
        store::deleteEntry(ivanova(), entry);
        takeDownWindows();
        QVERIFY(startOn(*db));
        createOtherWindows();
        bool restorable = false;
        whileSignedIn("8629", [&] {
            showDay();
            QCOMPARE(Form1->DBGrid2->model()->rowCount(), 0);
            withEntryHistory([&] {
                lines = versionLines();
                choices = entryChoices();
                restorable = Form25->RestoreButton->isEnabled();
            });
        });
        QCOMPARE(choices.size(), 1);
        QVERIFY2(choices[0].startsWith(QString("№ %1: Алексеев А.А., ПЛ-10, Сварка (Готовая продукция) — удалена ").arg(entry)),
                 qPrintable(choices[0]));
        QVERIFY(choices[0].endsWith(", full"));
        QVERIFY(linesOf(lines, "удаление").contains("удаление|Кол-во|12||" + who));
        QVERIFY(linesOf(lines, "удаление").contains("удаление|Часы|6||" + who));
        QCOMPARE(lines.last().section('|', 0, 0), QString("удаление"));
        QVERIFY(restorable);
    }

    // The deletion restored through the window: the row as it was, its day in the time sheet, the journal
    // showing it again. An equal entry entered since keeps it out.
    void restoreFromTheWindow()
    {
        QVERIFY(entry > 0);
        const QString before = db->value(QString("select old_row - 'id' from piecework.history where tbl = 'smena' and row_id = %1 and op = 'delete'").arg(entry));
        db->exec("update accounts_dep.h_tabel set d11 = 0 where w_id = 1 and smena = 1 and month = 3 and year = 2024");
        QVERIFY(startOn(*db));
        createOtherWindows();
        MessageRecorder messages;
        QStringList journalAfter;
        QStringList lines;
        whileSignedIn("8629", [&] {
            showDay();
            whenModal([&](QWidget* w) {
                Form25->RestoreButton->click();
                lines = versionLines();
                static_cast<QDialog*>(w)->reject();
            });
            Form1->N13->trigger();
            for (int r = 0; r < Form1->DBGrid2->model()->rowCount(); ++r)
                journalAfter << Form1->DBGrid2->rowValue(r, "fio").toString() + "/" + Form1->DBGrid2->rowValue(r, "kol_vo").toString();
        });
        QCOMPARE(messages.texts(), QStringList{"Восстановить удаленную запись в журнал?"});
        QCOMPARE(db->value(QString("select to_jsonb(s) - 'id' from accounts_dep.smena s where id = %1").arg(entry)), before);
        QCOMPARE(db->value("select d11 from accounts_dep.h_tabel where w_id = 1 and smena = 1 and month = 3 and year = 2024"), QString("6"));
        QCOMPARE(journalAfter, QStringList{"Алексеев А.А./12"});
        QCOMPARE(lines.last().section('|', 0, 0), QString("добавление"));

        // Deleted again, and the same entry entered anew: restoring the old one would make two.
        store::deleteEntry(ivanova(), entry);
        QCOMPARE(store::saveEntry(ivanova(), fixtureEntry("1", "2", 0, kDay), std::nullopt), store::Outcome::Saved);
        const QStringList journal = db->rows("select id, kol_vo from accounts_dep.smena order by id");
        takeDownWindows();
        QVERIFY(startOn(*db));
        createOtherWindows();
        messages.clear();
        whileSignedIn("8629", [&] {
            showDay();
            whenModal([&](QWidget* w) {
                // The journal's entry comes first; the deletion follows.
                Form25->EntryBox->setCurrentIndex(1);
                Form25->EntryBoxChange();
                Form25->RestoreButton->click();
                static_cast<QDialog*>(w)->reject();
            });
            Form1->N13->trigger();
        });
        QCOMPARE(messages.texts(),
                 QStringList({"Восстановить удаленную запись в журнал?", "Такая позиция уже есть в журнале: запись не восстановлена."}));
        QCOMPARE(db->rows("select id, kol_vo from accounts_dep.smena order by id"), journal);
    }

    // The accounts office and full access see "Журнал изменений" and the entry's history; the foreman and
    // the warehouse neither; only full access restores.
    void roles_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("sees");
        QTest::addColumn<bool>("restores");
        QTest::newRow("bursar") << QString("bursar") << true << false;
        QTest::newRow("foreman") << QString("foreman") << false << false;
        QTest::newRow("depot") << QString("depot") << false << false;
        QTest::newRow("full access") << QString("8629") << true << true;
    }
    void roles()
    {
        QFETCH(QString, word);
        QFETCH(bool, sees);
        QFETCH(bool, restores);
        // A deletion on the day the journal shows.
        QCOMPARE(store::saveEntry(ivanova(), fixtureEntry("3", "1", 5, kDay), std::nullopt), store::Outcome::Saved);
        store::deleteEntry(ivanova(), db->value("select max(id) from accounts_dep.smena").toInt());

        QVERIFY(startOn(*db));
        createOtherWindows();
        bool menuShown = false, menuEnabled = false, opened = false, restoreEnabled = false;
        whileSignedIn(word, [&] {
            menuShown = Form1->N14->isVisible();
            menuEnabled = Form1->N14->isEnabled();
            showDay();
            if (sees)
                whenModal([&](QWidget* w) {
                    opened = w == Form25;
                    Form25->EntryBox->setCurrentIndex(Form25->EntryBox->count() - 1);
                    Form25->EntryBoxChange();
                    restoreEnabled = Form25->RestoreButton->isEnabled();
                    static_cast<QDialog*>(w)->reject();
                });
            pressCtrlH(Form1);
            // Nothing opens for a role that may not look: the window would be on top now.
            if (!sees) opened = Form25->isVisible();
        });
        QCOMPARE(menuShown, sees);
        QCOMPARE(menuEnabled, sees);
        QCOMPARE(opened, sees);
        QCOMPARE(restoreEnabled, restores);
    }

    // The changes of a period: filtered by table, by the beginning of who and of the workstation (a typed
    // text is data, never part of the statement), a page at a time without gaps or repeats, and the lines
    // shown written into a workbook as they are shown.
    void changesWindowFiltersPagesAndExports()
    {
        db->exec("truncate piecework.history");
        const QDate today = QDate::currentDate();
        QCOMPARE(store::saveEntry(as(Role::Foreman, "petrov", "cex-1"), fixtureEntry("4", "2", 7, today), std::nullopt),
                 store::Outcome::Saved);
        store::addWorker(ivanova(), "Гусев Г.Г.", QString());
        db->exec("update accounts_dep.person set fio = 'О''Брайен Д.' where id = 2");
        QCOMPARE(store::addKind(ivanova(), "Резка"), store::Outcome::Saved);

        QVERIFY(startOn(*db));
        createOtherWindows();
        TForm26& w = *Form26;
        QTemporaryDir folder;
        QList<QUrl> opened;
        w.WorkbookFolder = folder.path();
        w.WorkbookOpener = [&opened](const QUrl& url) {
            opened << url;
            return true;
        };
        MessageRecorder messages;
        auto show = [&](const QString& table, const QString& actor, const QString& ws) {
            w.TableBox->setCurrentIndex(w.TableBox->findData(table));
            w.ActorEdit->setText(actor);
            w.WorkstationEdit->setText(ws);
            QTest::keyClick(w.ActorEdit, Qt::Key_Return);
            return QStringList{gridColumn(w.ChangesGrid, TForm26::Table).join(','), gridColumn(w.ChangesGrid, TForm26::Actor).join(','),
                               gridColumn(w.ChangesGrid, TForm26::Workstation).join(',')};
        };
        whenModal([&](QWidget* window) {
            QCOMPARE(w.DateFrom->date(), QDate(today.year(), today.month(), 1));
            QCOMPARE(w.DateTo->date(), QDate(today.year(), today.month(), today.daysInMonth()));
            // Newest first: the kind, the old program's rename, the new worker, the foreman's entry.
            QCOMPARE(gridColumn(w.ChangesGrid, TForm26::Table), QStringList({"Операции", "Рабочие", "Рабочие", "Журнал"}));
            QCOMPARE(gridColumn(w.ChangesGrid, TForm26::Operation), QStringList({"добавление", "изменение", "добавление", "добавление"}));
            QCOMPARE(w.ChangesGrid->item(1, TForm26::Changes)->text(), QString("ФИО: Борисов Б.Б. → О'Брайен Д."));
            QCOMPARE(w.ChangesGrid->item(1, TForm26::Application)->text(), QString("psql"));
            QCOMPARE(w.ChangesGrid->item(3, TForm26::Role)->text(), QString("Мастер смены"));
            QVERIFY2(w.ChangesGrid->item(3, TForm26::Changes)->text().startsWith("Дата: " + today.toString("dd.MM.yyyy")
                                                                                  + "; Смена: 1; Фамилия И.О.: Алексеев А.А."),
                     qPrintable(w.ChangesGrid->item(3, TForm26::Changes)->text()));

            QCOMPARE(show("smena", "", ""), QStringList({"Журнал", "foreman", "petrov@cex-1"}));
            QCOMPARE(show("", "fu", ""), QStringList({"Операции,Рабочие", "full,full", "ivanova@cex-2,ivanova@cex-2"}));
            QCOMPARE(show("person", "", "ivanova"), QStringList({"Рабочие", "full", "ivanova@cex-2"}));
            QCOMPARE(show("", "' or ''='", ""), QStringList({"", "", ""}));
            QCOMPARE(show("", "%", ""), QStringList({"", "", ""}));
            QCOMPARE(messages.texts(), QStringList());

            // Before the changes: nothing; the period backwards: said so.
            show("", "", "");
            w.DateTo->setDate(today.addDays(-1));
            w.DateFrom->setDate(today.addDays(-1));
            w.ShowButton->click();
            QCOMPARE(w.ChangesGrid->rowCount(), 0);
            w.DateFrom->setDate(today);
            w.ShowButton->click();
            QCOMPARE(messages.texts(), QStringList{kReversedPeriodText});
            w.DateTo->setDate(today);

            // Pages of one: every change once, newest first, then no more.
            w.PageSize = 1;
            w.ShowButton->click();
            while (w.MoreButton->isEnabled()) w.MoreButton->click();
            QCOMPARE(gridColumn(w.ChangesGrid, TForm26::Table), QStringList({"Операции", "Рабочие", "Рабочие", "Журнал"}));
            QCOMPARE(w.CountLabel->text(), QString("Показано изменений: 4"));

            // The workbook holds what the window shows.
            w.ExcelButton->click();
            QCOMPARE(opened.size(), 1);
            const XlsxReader book(opened[0].toLocalFile());
            QCOMPARE(book.error, QString());
            QCOMPARE(book.value(1, 1).toString(),
                     QString("Журнал изменений с %1 по %1").arg(today.toString("dd.MM.yyyy")));
            for (int c = 0; c < TForm26::ColumnCount; ++c)
                QCOMPARE(book.value(2, c + 1).toString(), w.ChangesGrid->horizontalHeaderItem(c)->text());
            for (int r = 0; r < w.ChangesGrid->rowCount(); ++r)
                for (int c = 0; c < TForm26::ColumnCount; ++c)
                    QCOMPARE(book.value(r + 3, c + 1).toString(), w.ChangesGrid->item(r, c)->text());
            QVERIFY(!book.value(w.ChangesGrid->rowCount() + 3, 1).isValid());
            w.PageSize = 200;
            static_cast<QDialog*>(window)->reject();
        });
        Form1->N14->trigger();
        QCOMPARE(opened.size(), 1);
    }
};

QTEST_MAIN(HistoryWindowsTest)
#include "tst_history_windows.moc"
