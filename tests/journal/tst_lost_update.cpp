// Two workstations hold the same journal entry as they read it; one writes, then the other writes from
// what it read before. The second writes nothing, is told what changed, by whom and when, and its window
// shows the entry as it is now.
#include "core/application.h"
#include "core/dataset.h"
#include "journal/entry_editor.h"
#include "store/journal_store.h"
#include "store/row_check.h"
#include "support/books_fixture.h"
#include "support/message_recorder.h"
#include "support/second_workstation.h"
#include "program_fixture.h"

#include <QLineEdit>
#include <QtTest>
#include <chrono>
#include <functional>
#include <thread>

namespace {

const QDate kDay(2024, 3, 11);
const EntryContext kShift1{.shift = 1, .date = kDay};

// Worker 1's entry of the day: 10 pieces, no rejects, 8 hours, not accepted.
const char* kJournal = R"(
delete from piecework.closed_month;
truncate accounts_dep.smena, accounts_dep.h_tabel restart identity;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod) values
    (1, 10, 20, 10, 0, '2024-03-11', 1, 3.5, 0, 8, 'no', '2024-03-11');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (1, 1, 3, 2024, 8);
)";

using Verb = std::function<store::Answer(const store::Session&, const store::RowAsRead&)>;

// Each verb that writes an entry back; a change writes `quantity` pieces.
Verb verb(const QString& name, const QString& quantity)
{
    if (name == "change")
        return [quantity](const store::Session& s, const store::RowAsRead& r) {
            return store::saveEntry(s, fixtureEntry(quantity, "8", 0, kDay), r);
        };
    if (name == "delete") return [](const store::Session& s, const store::RowAsRead& r) { return store::deleteEntry(s, r); };
    return [](const store::Session& s, const store::RowAsRead& r) { return store::setAcceptance(s, r, true); };
}

// The other workstation: a person of its own at its own host, so that the history can name it.
store::Session elsewhere(const store::Session& s)
{
    return {s.db, store::Actor{store::Role::Full, QStringLiteral("ivanova"), QStringLiteral("cex-2"), QStringLiteral("ivanova")}};
}

store::Answer onOtherWorkstation(const TestDatabase& db, const Verb& v, const store::RowAsRead& asRead)
{
    store::Answer answer;
    SecondWorkstation other(db.odbcString(), [&](const store::Session& s, SecondWorkstation&) { answer = v(elsewhere(s), asRead); });
    other.join();
    if (!other.error().isEmpty()) qWarning() << other.error();
    return answer;
}

QString differences(const store::Answer& a)
{
    QStringList out;
    for (const store::reads::HistoryField& f : a.change.fields)
        out << QStringLiteral("%1: %2 → %3").arg(f.caption, f.before.toString().trimmed(), f.after.toString().trimmed());
    return out.join("; ");
}

}  // namespace

class LostUpdateTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    QString entryNow() const
    {
        return db->value("select count(*) || ',' || coalesce(max(kol_vo), 0) || ',' || coalesce(max(ok), '') from accounts_dep.smena");
    }
    // The entry as this workstation's journal shows it.
    store::RowAsRead asShown() const { return entryRowOf(*DataModule6->Smena1).asRead; }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(booksFixture());
    }
    void cleanupTestCase()
    {
        delete Form11;
        Form11 = nullptr;
        delete db;
    }
    void init()
    {
        db->exec(kJournal);
        QVERIFY(startOn(*db));
        if (!Form11) Form11 = new TForm11(*DataModule6);
        showJournalDay(kDay);
    }
    void cleanup() { takeDownWindows(); }

    // Both workstations read the entry; whichever writes first writes, the other is refused and nothing of
    // it is written: not its fields, not its delete, not its mark.
    void secondWriterIsRefused_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("hereFirst");
        QTest::addColumn<int>("refused");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("after");
        const struct {
            const char* first;
            const char* second;
            store::Outcome refused;
            const char* changed;
            const char* after;
        } cases[] = {
            {"change", "change", store::Outcome::Changed, "Кол-во: 10 → 12", "1,12,no"},
            {"delete", "delete", store::Outcome::Gone, "", "0,0,"},
            {"accept", "accept", store::Outcome::Changed, "OK: no → ok", "1,10,ok"},
            // A delete of an entry changed meanwhile is not made: the user saw other numbers.
            {"change", "delete", store::Outcome::Changed, "Кол-во: 10 → 12", "1,12,no"},
            // A change made from before an acceptance would change what the warehouse accepted.
            {"accept", "change", store::Outcome::Changed, "OK: no → ok", "1,10,ok"},
            {"delete", "change", store::Outcome::Gone, "", "0,0,"},
            // An acceptance of pieces the acceptor never saw.
            {"change", "accept", store::Outcome::Changed, "Кол-во: 10 → 12", "1,12,no"},
        };
        for (const auto& c : cases)
            for (bool hereFirst : {true, false})
                QTest::addRow("%s then %s, %s first", c.first, c.second, hereFirst ? "here" : "there")
                    << c.first << c.second << hereFirst << int(c.refused) << c.changed << c.after;
    }
    void secondWriterIsRefused()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, hereFirst);
        QFETCH(int, refused);
        QFETCH(QString, changed);
        QFETCH(QString, after);
        const store::RowAsRead read = asShown();
        const store::Session here = fullAccess();
        auto write = [&](bool onThisWorkstation, const Verb& v) {
            return onThisWorkstation ? v(here, read) : onOtherWorkstation(*db, v, read);
        };
        QCOMPARE(int(write(hereFirst, verb(first, "12")).outcome), int(store::Outcome::Saved));
        const store::Answer answer = write(!hereFirst, verb(second, "15"));
        QCOMPARE(int(answer.outcome), refused);
        QCOMPARE(differences(answer), changed);
        // Who wrote first, as the history tells it.
        QVERIFY(answer.change.last);
        QCOMPARE(answer.change.last->workstation, hereFirst ? here.actor.workstation() : QString("ivanova@cex-2"));
        QCOMPARE(entryNow(), after);
        // The time sheet follows the journal as the first writer left it.
        QCOMPARE(db->value("select d11 from accounts_dep.h_tabel where w_id = 1"), QString(after.startsWith('0') ? "" : "8"));
    }

    // The other workstation holds the entry in its transaction: the save waits for it, then sees its change.
    void waitsForTheOtherAndSeesItsChange()
    {
        const store::RowAsRead read = asShown();
        SecondWorkstation other(db->odbcString(), [](const store::Session& s, SecondWorkstation& self) {
            store::Work work(s, store::Action::ChangeEntry);
            store::exec(work.db(), "update accounts_dep.smena set time = 6 where id = 1");
            self.reached();
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            work.commit();
        });
        other.waitUntilReached();
        const store::Answer answer = store::saveEntry(fullAccess(), fixtureEntry("15", "8", 0, kDay), read);
        other.join();
        QCOMPARE(other.error(), QString());
        QCOMPARE(int(answer.outcome), int(store::Outcome::Changed));
        QCOMPARE(differences(answer), QString("Часы: 8 → 6"));
        QCOMPARE(db->value("select kol_vo || ',' || time from accounts_dep.smena"), QString("10,6"));
    }

    // The editor was opened on the entry; another workstation changed it; "Запись" writes nothing, says
    // what changed and by whom, and the boxes show the entry as it is now. A save from there is written.
    void editorShowsTheEntryAsItIsNow()
    {
        MessageRecorder rec;
        Form11->presetForChange(kShift1, entryRowOf(*DataModule6->Smena1));
        QCOMPARE(onOtherWorkstation(*db, verb("change", "12"), asShown()).outcome, store::Outcome::Saved);
        Form11->Edit3->setText("15");
        Form11->Button1->click();
        QCOMPARE(rec.seen.size(), 1);
        QCOMPARE(rec.seen[0].caption, QString("Ошибка"));
        const QString text = rec.seen[0].text;
        QVERIFY2(text.startsWith("Эту запись изменили на другом рабочем месте, пока она была открыта здесь:\nКол-во: 10 → 12\n"
                                 "Изменил: ivanova (Полный доступ), рабочее место ivanova@cex-2, "),
                 qPrintable(text));
        QVERIFY2(text.endsWith("\nВаши изменения не записаны. Окно показывает позицию такой, какая она сейчас."), qPrintable(text));
        QCOMPARE(entryNow(), QString("1,12,no"));
        QCOMPARE(Form11->Edit3->text(), QString("12"));
        QCOMPARE(Form11->Tag, 2);
        QCOMPARE(DataModule6->Smena1->fieldByName("kol_vo").asString(), QString("12"));

        rec.clear();
        Form11->Edit3->setText("15");
        Form11->Button1->click();
        QCOMPARE(rec.texts(), QStringList());
        QCOMPARE(entryNow(), QString("1,15,no"));
    }

    void editorClosesOnAnEntryDeletedElsewhere()
    {
        MessageRecorder rec;
        Form11->presetForChange(kShift1, entryRowOf(*DataModule6->Smena1));
        QCOMPARE(onOtherWorkstation(*db, verb("delete", ""), asShown()).outcome, store::Outcome::Saved);
        Form11->Edit3->setText("15");
        Form11->Button1->click();
        QCOMPARE(rec.seen.size(), 1);
        QVERIFY2(rec.seen[0].text.startsWith("Эту запись удалили на другом рабочем месте, пока она была открыта здесь.\n"
                                             "Удалил: ivanova (Полный доступ), рабочее место ivanova@cex-2, "),
                 qPrintable(rec.seen[0].text));
        QVERIFY(rec.seen[0].text.endsWith("\nВаши изменения не записаны."));
        QCOMPARE(entryNow(), QString("0,0,"));
        QCOMPARE(Form11->Edit3->text(), QString());
        QVERIFY(DataModule6->Smena1->isEmpty());
    }

    // The journal's double click and "Удалить" act on the entry as the journal shows it.
    void journalActsOnTheEntryAsShown_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("after");
        QTest::newRow("accept a changed entry") << "accept" << "change"
                                                << QStringList{"Кол-во: 10 → 12", "Отметка не изменена. Журнал показывает позицию такой, какая она сейчас."}
                                                << "1,12,no";
        QTest::newRow("accept an accepted entry") << "accept" << "accept"
                                                  << QStringList{"OK: no → ok", "Отметка не изменена."} << "1,10,ok";
        QTest::newRow("delete a changed entry") << "delete" << "change"
                                                << QStringList{"Удалить позицию из списка?", "Кол-во: 10 → 12",
                                                               "Позиция не удалена. Журнал показывает её такой, какая она сейчас."}
                                                << "1,12,no";
        QTest::newRow("delete a deleted entry") << "delete" << "delete"
                                                << QStringList{"Удалить позицию из списка?", "Эту запись удалили"} << "0,0,";
    }
    void journalActsOnTheEntryAsShown()
    {
        QFETCH(QString, action);
        QFETCH(QString, elsewhere);
        QFETCH(QStringList, messages);
        QFETCH(QString, after);
        MessageRecorder rec;
        QCOMPARE(onOtherWorkstation(*db, verb(elsewhere, "12"), asShown()).outcome, store::Outcome::Saved);
        if (action == "accept")
            Form1->DBGrid2DblClick();
        else
            Form1->Button3Click();
        const QString all = rec.texts().join('\n');
        for (const QString& m : messages) QVERIFY2(all.contains(m), qPrintable(all));
        QCOMPARE(entryNow(), after);
        // The journal was read again: it shows the entry as it is now.
        if (after.startsWith('0'))
            QVERIFY(DataModule6->Smena1->isEmpty());
        else
            QCOMPARE(DataModule6->Smena1->fieldByName("kol_vo").asString() + ',' + DataModule6->Smena1->fieldByName("ok").asString().trimmed(),
                     after.mid(2));
    }
};

QTEST_MAIN(LostUpdateTest)
#include "tst_lost_update.moc"
