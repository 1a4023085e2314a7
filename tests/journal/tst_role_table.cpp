// The role table, both sides: what each sign-in word leaves usable in the windows, and which of the
// store's verbs that role's session may call. Both read store::can; the test walks the roles row by row.
#include "core/application.h"
#include "reports/reports_window.h"
#include "journal/roles.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "store/time_sheet_rebuild.h"
#include "store/version_store.h"
#include "support/books_fixture.h"
#include "support/message_recorder.h"
#include "program_fixture.h"

#include <QAction>
#include <functional>

namespace {

const char* kBooks = R"(
insert into accounts_dep.person (id, fio) values (1, 'Алексеев А.А.');
insert into accounts_dep.izdel (id, marka, nom, massa) values (10, 'ПЛ-10', 'ПЛ', 1);
insert into accounts_dep.vid_oper (id, vid) values (5, 'Сварка');
insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (20, 5, 0, 10, 3.5);
)";

// One entry not yet accepted, a time-sheet day out of step with it (so that a rebuild or a close changes
// it), and no build stamp (so that stamping adds one).
const char* kJournal = R"(
-- A month left closed by the close refuses the truncate.
delete from piecework.closed_month;
truncate accounts_dep.smena, accounts_dep.h_tabel, accounts_dep.ver restart identity;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, time, ok, vvod)
values (1, 10, 20, 10, 0, '2024-03-11', 1, 3.5, 0, 3, 'no', '2024-03-11');
insert into accounts_dep.h_tabel (w_id, smena, month, year, d11) values (1, 1, 3, 2024, 9);
)";

store::EntryValues entry(int colour)
{
    return fixtureEntry(QStringLiteral("4"), QStringLiteral("2"), colour, QDate(2024, 3, 11));
}

struct Verb {
    const char* name;
    store::Action action;
    std::function<void(const store::Session&)> call;
};

// The entry of kJournal has id 1.
const Verb kVerbs[] = {
    {"save new", store::Action::AddEntry, [](const store::Session& s) { store::saveEntry(s, entry(3), std::nullopt); }},
    {"save changed", store::Action::ChangeEntry, [](const store::Session& s) { store::saveEntry(s, entry(0), 1); }},
    {"delete", store::Action::DeleteEntry, [](const store::Session& s) { store::deleteEntry(s, 1); }},
    {"acceptance", store::Action::AcceptEntry, [](const store::Session& s) { store::setAcceptance(s, 1, true); }},
    {"rebuild", store::Action::TimeSheet, [](const store::Session& s) { store::rebuildMonth(s, 3, 2024); }},
    {"close month", store::Action::CloseMonth, [](const store::Session& s) { store::closeMonth(s, 2024, 3, ""); }},
    {"stamp version", store::Action::StampVersion,
     [](const store::Session& s) { store::stampVersion(s, store::BuildStamp{20991231, 0}); }},
};

QObject* controlNamed(const RoleControl& c)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(c.window)) return w->findChild<QObject*>(QLatin1String(c.control));
    return nullptr;
}

bool isEnabled(QObject* o)
{
    if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled();
    if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
    return false;
}

// Not hidden on purpose (the window around it may be hidden itself).
bool isShown(QObject* o)
{
    if (auto* w = qobject_cast<QWidget*>(o)) return !w->isHidden();
    if (auto* a = qobject_cast<QAction*>(o)) return a->isVisible();
    return false;
}

}  // namespace

class RoleTableTest : public QObject {
    Q_OBJECT
    TestDatabase* db = nullptr;

    QString snapshot() const
    {
        return (db->rows("select * from accounts_dep.smena order by id") + db->rows("select * from accounts_dep.h_tabel order by id")
                + db->rows("select * from accounts_dep.ver"))
            .join('\n');
    }

private slots:
    void initTestCase()
    {
        setWorkstationLocale();
        db = new TestDatabase(kBooks);
    }
    void cleanupTestCase() { delete db; }

    void roleTable_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("roleNumber");
        QTest::newRow("bursar") << QString("bursar") << int(Role::Bursar);
        QTest::newRow("foreman") << QString("foreman") << int(Role::Foreman);
        QTest::newRow("depot") << QString("depot") << int(Role::Depot);
        QTest::newRow("full access 61730428") << QString("61730428") << int(Role::Full);
        QTest::newRow("full access 8629") << QString("8629") << int(Role::Full);
        QTest::newRow("nobody signed in") << QString("") << int(Role::None);
    }
    void roleTable()
    {
        QFETCH(QString, word);
        QFETCH(int, roleNumber);
        const Role role = Role(roleNumber);

        // The windows: after signing in, each listed control is enabled exactly when the role may take its action.
        if (role != Role::None) {
            db->exec(kJournal);
            QVERIFY(startOn(*db));
            createOtherWindows();
            MessageRecorder rec;
            QStringList wrong;
            Role actor = Role::None;
            whileSignedIn(word, [&] {
                actor = DataModule6->actor().role;
                for (const RoleControl& c : roleControls()) {
                    QObject* o = controlNamed(c);
                    if (!o || isEnabled(o) != store::can(role, c.action))
                        wrong << QString("%1.%2 %3").arg(c.window, c.control, o ? (isEnabled(o) ? "enabled" : "disabled") : "missing");
                    // A control hidden from the roles that may not use it is shown to the others.
                    else if (isShown(o) != (store::can(role, c.action) || !c.hidden))
                        wrong << QString("%1.%2 %3").arg(c.window, c.control, isShown(o) ? "shown" : "hidden");
                }
            });
            takeDownWindows();
            QCOMPARE(rec.texts(), QStringList());
            QCOMPARE(int(actor), roleNumber);
            QCOMPARE(wrong, QStringList());
        }

        // The verbs: a session of that role works, or is refused with nothing written.
        const store::Session session{store::programDb(), store::Actor::here(role)};
        if (!DataModule6) db->connectProgram();
        for (const Verb& v : kVerbs) {
            db->exec(kJournal);
            const QString before = snapshot();
            const bool allowed = store::can(role, v.action);
            try {
                v.call(session);
                QVERIFY2(allowed, qPrintable(QString("%1 went through").arg(v.name)));
                QVERIFY2(snapshot() != before, qPrintable(QString("%1 wrote nothing").arg(v.name)));
            } catch (const DbError& e) {
                QVERIFY2(!allowed, qPrintable(QString("%1: %2").arg(v.name, e.text())));
                QCOMPARE(e.kind(), DbError::Kind::NotAllowed);
                QCOMPARE(snapshot(), before);
            }
        }
    }
};

QTEST_MAIN(RoleTableTest)
#include "tst_role_table.moc"
