// One workstation of the day race: for a number of rounds it adds, changes and deletes entries of one
// worker's two days, each through the store as the entry editor and the journal do, on its own connection.
// Prints what it did; exits 1 when a write failed for any reason but a busy row.
#include "store/connection.h"
#include "store/db_error.h"
#include "store/journal_store.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

namespace {

const QDate kDays[] = {QDate(2024, 3, 11), QDate(2024, 3, 12)};

store::EntryValues entry(QRandomGenerator& rnd)
{
    store::EntryValues v;
    v.worker = 1;
    v.product = 10;
    v.operation = 20;
    v.shift = 1;
    v.price = QStringLiteral("3.5");
    v.quantity = QString::number(rnd.bounded(1, 50));
    v.rejects = QStringLiteral("0");
    v.hours = QString::number(rnd.bounded(0, 13));
    v.colour = rnd.bounded(0, 1000);
    v.date = kDays[rnd.bounded(2)];
    v.entered = v.date;
    return v;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s <database> <seed> <rounds>\n", argv[0]);
        return 2;
    }
    const store::Db db{QStringLiteral("writer")};
    try {
        openConnection(db.connection, connectionString(args.at(1), QStringLiteral("localhost")));
    } catch (const DbError& e) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(e.text()));
        return 2;
    }
    const store::Session session{db, store::Actor::here(store::Role::Full)};
    QRandomGenerator rnd(args.at(2).toUInt());
    const int rounds = args.at(3).toInt();
    int saved = 0, changed = 0, deleted = 0, busy = 0, failed = 0;
    const QString anyEntry = QStringLiteral("select id from accounts_dep.smena where w_id = 1 order by random() limit 1");
    for (int round = 0; round < rounds; ++round) {
        try {
            // Somewhat more adds than the rest, so the days keep a few entries to change and delete.
            switch (rnd.bounded(10) / 4) {
            case 0:
                store::saveEntry(session, entry(rnd), std::nullopt);
                ++saved;
                break;
            case 1:
                if (const int id = int(store::scalarInt(db, anyEntry))) {
                    store::saveEntry(session, entry(rnd), id);
                    ++changed;
                }
                break;
            default:
                if (const int id = int(store::scalarInt(db, anyEntry))) {
                    store::deleteEntry(session, id);
                    ++deleted;
                }
                break;
            }
        } catch (const DbError& e) {
            if (e.kind() == DbError::Kind::Busy) {
                ++busy;
            } else {
                ++failed;
                std::fprintf(stderr, "round %d: %s (%s)\n", round, qPrintable(e.text()), qPrintable(e.sqlState()));
            }
        }
    }
    std::printf("rounds %d saved %d changed %d deleted %d busy %d failed %d\n", rounds, saved, changed, deleted, busy, failed);
    return failed == 0 ? 0 : 1;
}
