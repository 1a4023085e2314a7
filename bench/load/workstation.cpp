// One workstation of the load run (scripts/load): the program's own connection, the data module's
// datasets and the store's verbs, called as the windows call them, in a mix of a shift's work:
//   foreman  opens a day's journal of its shift, adds entries, changes and deletes some, opens the
//            editor on an entry, opens the time sheet, now and then the month's summary report;
//   depot    the warehouse: opens days of every shift and accepts entries;
//   full     the accounts office: time sheet, month rebuilds, summary reports, changes.
// Every action is timed and written to the log, one line each: when it started (ms since the epoch),
// the action, its milliseconds and its outcome (ok, busy, duplicate, lost, or fault:<kind> <text>).
// Between actions the user thinks 0.3 to 1.5 s (none with --memory).
//
//   load_workstation --server A --database D --index I --role foreman|depot|full --shift S
//                    (--seconds S | --actions N [--memory]) --log FILE
//   load_workstation --server A --database D --report-check --log FILE
//       the month's summary report to its first page against psql running the same statement, alone
//
// SIGUSR1 makes the workstation stop itself (SIGSTOP) inside its next save's transaction, between reading
// the journal and writing the day cell: a workstation frozen while it holds its locks.
// With --via-proxy it reaches the server through a proxy of its own (tests/support/silent_proxy.h); each
// SIGUSR2 silences the line or lets it speak again.
#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/messages.h"
#include "core/workstation_locale.h"
#include "support/psql_clock.h"
#include "journal/entry_editor.h"
#include "journal/entry_price.h"
#include "reportengine/report.h"
#include "reports/products_detail_report.h"
#include "reports/products_report.h"
#include "reports/report_period.h"
#include "reports/workers_detail_report.h"
#include "reports/workers_report.h"
#include "store/connection.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "store/time_sheet_rebuild.h"
#include "store/time_sheet_store.h"
#include "support/silent_proxy.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextStream>
#include <type_traits>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> freezeRequested{false};
std::atomic<int> lineToggles{0};

struct Options {
    QString server;
    QString database;
    int index = 0;
    store::Role role = store::Role::Foreman;
    int shift = 1;
    int seconds = 0;
    int actions = 0;
    bool memory = false;
    bool reportCheck = false;
    bool viaProxy = false;
    QString log;
};

QString kindName(DbError::Kind kind)
{
    switch (kind) {
    case DbError::Kind::ConnectionLost: return QStringLiteral("lost");
    case DbError::Kind::Refused: return QStringLiteral("fault:refused");
    case DbError::Kind::Busy: return QStringLiteral("busy");
    case DbError::Kind::Conversion: return QStringLiteral("fault:conversion");
    case DbError::Kind::ProgramFault: return QStringLiteral("fault:program");
    case DbError::Kind::NotAllowed: return QStringLiteral("fault:not-allowed");
    case DbError::Kind::MonthClosed: return QStringLiteral("fault:month-closed");
    }
    return QStringLiteral("fault:unknown");
}

// Resident memory (kB) and open file descriptors of this process.
std::pair<long, int> memoryAndHandles()
{
    long rss = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:")) rss = line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    const int fds = int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
    return {rss, fds};
}

class Workstation {
public:
    Workstation(const Options& o, TDataModule6& data)
        : o_(o), data_(data), random_(quint32(0x5eed + o.index * 7919)),
          byWorkers_(data), byProducts_(data), detailByWorkers_(data), detailByProducts_(data)
    {
        log_.setFileName(o.log);
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(o.log));
            std::exit(2);
        }
        day_ = recentWeekday();
    }

    // One action of the mix, within what the role may do.
    void step()
    {
        const int roll = int(random_.bounded(100));
        switch (o_.role) {
        case store::Role::Depot:
            if (roll < 45) return openDay(o_.shift = 1 + int(random_.bounded(4)));
            if (roll < 95) return accept();
            return summaryReport(detailByProducts_, QStringLiteral("   Детальный отчет по продукции за период с "));
        case store::Role::Full:
            if (roll < 15) return openDay(o_.shift = 1 + int(random_.bounded(4)));
            if (roll < 35) return change();
            if (roll < 40) return remove();
            if (roll < 55) return openEditor();
            if (roll < 75) return openTimeSheet();
            if (roll < 85) return rebuild();
            return summaryReport(byWorkers_, QStringLiteral("   Отчет по рабочим за период с "));
        default:
            if (roll < 35) return openDay(o_.shift);
            if (roll < 75) return add();
            if (roll < 95) return openEditor();
            return summaryReport(detailByProducts_, QStringLiteral("   Детальный отчет по продукции за период с "));
        }
    }

    void think()
    {
        if (!o_.memory) QThread::msleep(300 + random_.bounded(1200));
    }

    int actionsDone() const { return done_; }

    // The month's summary report to its first page, against psql over the same statement, alone on the server.
    void reportCheck()
    {
        const QDate today = QDate::currentDate();
        const ReportPeriod month = previousMonth(today);
        struct Case {
            const char* name;
            SummaryReport& report;
            QString heading;
        };
        const Case cases[] = {
            {"report-by-workers", byWorkers_, QStringLiteral("   Отчет по рабочим за период с ")},
            {"report-products-detail", detailByProducts_, QStringLiteral("   Детальный отчет по продукции за период с ")},
        };
        for (const Case& c : cases) {
            std::vector<double> program, psql;
            for (int run = 0; run < 5; ++run) {
                QElapsedTimer t;
                t.start();
                reportToFirstPage(c.report, c.heading, month);
                program.push_back(t.nsecsElapsed() / 1e6);
                psql.push_back(1000 * psqlSeconds(o_.server, o_.database, withPeriod(c.report.query()->sqlText(), month.from, month.to)));
            }
            std::sort(program.begin(), program.end());
            std::sort(psql.begin(), psql.end());
            std::printf("report\t%.1f\t%.1f\t%d\t%s\n", program[2], psql[2], pages_, c.name);
        }
    }

private:
    template <typename F>
    void timed(const char* action, F f)
    {
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        QElapsedTimer t;
        t.start();
        QString outcome = QStringLiteral("ok");
        try {
            // An action answers whether it went through, or its outcome's word.
            if constexpr (std::is_same_v<decltype(f()), bool>) {
                if (!f()) outcome = QStringLiteral("duplicate");
            } else {
                outcome = f();
            }
        } catch (const DbError& e) {
            outcome = kindName(e.kind());
            if (outcome.startsWith(QLatin1String("fault"))) outcome += u' ' + QString(e.text()).simplified().left(200);
        } catch (const std::exception& e) {
            outcome = QStringLiteral("fault:exception ") + QString::fromLocal8Bit(e.what()).simplified().left(200);
        }
        const double ms = t.nsecsElapsed() / 1e6;
        QTextStream(&log_) << at << '\t' << action << '\t' << QString::number(ms, 'f', 2) << '\t' << outcome << '\n';
        log_.flush();
        ++done_;
    }

    QDate recentWeekday()
    {
        // The last six weeks: the months a shop still writes into.
        for (;;) {
            const QDate d = QDate::currentDate().addDays(-int(random_.bounded(42)));
            if (d.dayOfWeek() < Qt::Saturday) return d;
        }
    }

    Dataset& journal() { return *data_.shiftDataset(o_.shift); }

    // As the journal window loads a date: every shift's dataset of the day, and the month's state.
    void openDay(int shift)
    {
        o_.shift = shift;
        day_ = recentWeekday();
        timed("journal day open", [&] {
            const QDateTime day(day_, QTime(0, 0));
            for (Dataset* ds : data_.journalDatasets()) ds->close();
            for (Dataset* ds : data_.journalDatasets()) {
                ds->setParam(QStringLiteral("data"), day);
                ds->open();
            }
            store::monthClosure(data_.session().db, day_.year(), day_.month());
            return true;
        });
    }

    // A row of the journal as shown; opens a day first when none is open or it is empty.
    bool pickRow()
    {
        Dataset& ds = journal();
        if (!ds.isOpen() || ds.isEmpty()) {
            openDay(o_.shift);
            if (!journal().isOpen() || journal().isEmpty()) return false;
        }
        Dataset& shown = journal();
        shown.setRecNo(1 + int(random_.bounded(shown.recordCount())));
        return true;
    }

    store::EntryValues valuesOf(const EntryRow& row) const
    {
        store::EntryValues v;
        v.worker = row.worker;
        v.product = row.product;
        v.operation = row.operation;
        v.shift = o_.shift;
        v.price = entryprice::written(row.price);
        v.quantity = row.quantity;
        v.rejects = row.rejects;
        v.hours = row.hours.isEmpty() ? QStringLiteral("0") : row.hours;
        v.colour = row.colour.toInt();
        v.date = row.date;
        v.entered = QDate::currentDate();
        return v;
    }

    // An outcome in the log's words: a row another workstation changed or deleted since it was read is
    // refused and counted apart, like a duplicate.
    static QString word(store::Outcome o)
    {
        switch (o) {
        case store::Outcome::Saved: return QStringLiteral("ok");
        case store::Outcome::Duplicate: return QStringLiteral("duplicate");
        case store::Outcome::Changed: return QStringLiteral("changed");
        case store::Outcome::Gone: return QStringLiteral("gone");
        }
        return QStringLiteral("fault:outcome");
    }

    // As the editor's "Запись": the month asked about, the entry and its day in one verb (a change carrying
    // the entry as the journal read it), the journal reopened.
    QString save(const store::EntryValues& v, const EntryRow* changed)
    {
        store::checkEntry(v);
        store::refuseIfClosed(data_.session().db, v.date);
        if (changed && changed->date.month() != v.date.month()) store::refuseIfClosed(data_.session().db, changed->date);
        if (!changed) return word(store::saveEntry(data_.session(), v, std::nullopt));
        return word(store::saveEntry(data_.session(), v, changed->asRead).outcome);
    }

    void reopenJournal()
    {
        Dataset& ds = journal();
        ds.close();
        ds.open();
    }

    // Another worker's entry like one of the day: the same operation at the day's price, its own hours.
    void add()
    {
        if (!pickRow()) return;
        const EntryRow row = entryRowOf(journal());
        store::EntryValues v = valuesOf(row);
        v.worker = 1 + int(random_.bounded(100));
        v.quantity = QString::number(1 + random_.bounded(40));
        v.rejects = QStringLiteral("0");
        v.hours = QString::number(random_.bounded(3));
        timed("entry save", [&] { return save(v, nullptr); });
        timed("journal reopen", [&] {
            reopenJournal();
            return true;
        });
    }

    void change()
    {
        if (!pickRow()) return;
        const EntryRow row = entryRowOf(journal());
        store::EntryValues v = valuesOf(row);
        v.quantity = QString::number(1 + random_.bounded(40));
        v.hours = QString::number(random_.bounded(9));
        timed("entry change", [&] { return save(v, &row); });
        timed("journal reopen", [&] {
            reopenJournal();
            return true;
        });
    }

    void remove()
    {
        if (!pickRow()) return;
        const EntryRow row = entryRowOf(journal());
        timed("entry delete", [&] {
            store::refuseIfClosed(data_.session().db, day_);
            const QString outcome = word(store::deleteEntry(data_.session(), row.asRead).outcome);
            reopenJournal();
            return outcome;
        });
    }

    void accept()
    {
        if (!pickRow()) return;
        Dataset& ds = journal();
        const EntryRow row = entryRowOf(ds);
        const QString ok = ds.fieldByName(QStringLiteral("ok")).asString().trimmed();
        const bool accepted = ok == QLatin1String("ok") || ok == QLatin1String("да");
        timed("acceptance", [&] {
            store::refuseIfClosed(data_.session().db, day_);
            const QString outcome = word(store::setAcceptance(data_.session(), row.asRead, !accepted).outcome);
            reopenJournal();
            return outcome;
        });
    }

    // The editor on the current entry: the month asked about, the row handed over, and the reads of its
    // two picks (the workers book and the operations book).
    void openEditor()
    {
        if (!pickRow()) return;
        timed("editor open", [&] {
            store::refuseIfClosed(data_.session().db, day_);
            const EntryRow row = entryRowOf(journal());
            for (Dataset* book : {data_.Workers, data_.Oper}) {
                book->close();
                book->open();
                book->locate(QStringLiteral("id"), book == data_.Workers ? row.worker : row.operation);
            }
            return true;
        });
    }

    QDate recentMonth()
    {
        const QDate today = QDate::currentDate();
        return QDate(today.year(), today.month(), 1).addMonths(-int(random_.bounded(2)));
    }

    // As the time sheet window loads a month: the three shifts' rows and the month's state.
    void openTimeSheet()
    {
        const QDate m = recentMonth();
        timed("time sheet open", [&] {
            for (Dataset* ds : {data_.H_Tabel_1, data_.H_Tabel_2, data_.H_Tabel_3}) {
                ds->close();
                ds->setParam(QStringLiteral("mnth"), m.month());
                ds->setParam(QStringLiteral("yea"), m.year());
                ds->open();
            }
            store::monthClosure(data_.session().db, m.year(), m.month());
            return true;
        });
    }

    void rebuild()
    {
        const QDate m = recentMonth();
        timed("month rebuild", [&] {
            store::rebuildMonth(data_.session(), m.month(), m.year());
            return true;
        });
    }

    // As the reports window runs a report: the period and kind into the query, the query opened, every
    // page laid out, the first page painted; the query closed again.
    void reportToFirstPage(SummaryReport& report, const QString& heading, const ReportPeriod& period)
    {
        Dataset& query = *report.query();
        selectRows(query, period, ProductKind::All);
        struct Closing {
            Dataset& q;
            ~Closing() { q.close(); }
        } closing{query};
        query.open();
        report.setHeading(periodHeading(heading, period));
        report.prepare();
        const re::Report* pages = report.report();
        pages_ = pages ? pages->pageCount() : 0;
        if (pages && pages_ > 0) {
            QImage image(595, 842, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            pages->paintPage(0, painter);
        }
    }

    void summaryReport(SummaryReport& report, const QString& heading)
    {
        const QDate m = recentMonth().addMonths(-1);
        const ReportPeriod period{m, m.addMonths(1)};
        timed(&report == &byWorkers_ ? "report by workers" : "report products detail", [&] {
            reportToFirstPage(report, heading, period);
            return true;
        });
    }

    Options o_;
    TDataModule6& data_;
    QRandomGenerator random_;
    QFile log_;
    QDate day_;
    int done_ = 0;
    int pages_ = 0;
    TForm16 byWorkers_;
    TForm17 byProducts_;
    TForm20 detailByWorkers_;
    TForm21 detailByProducts_;
};

Options parse(const QStringList& args)
{
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--server")) o.server = next, ++i;
        else if (a == QLatin1String("--database")) o.database = next, ++i;
        else if (a == QLatin1String("--index")) o.index = next.toInt(), ++i;
        else if (a == QLatin1String("--shift")) o.shift = next.toInt(), ++i;
        else if (a == QLatin1String("--seconds")) o.seconds = next.toInt(), ++i;
        else if (a == QLatin1String("--actions")) o.actions = next.toInt(), ++i;
        else if (a == QLatin1String("--log")) o.log = next, ++i;
        else if (a == QLatin1String("--memory")) o.memory = true;
        else if (a == QLatin1String("--report-check")) o.reportCheck = true;
        else if (a == QLatin1String("--via-proxy")) o.viaProxy = true;
        else if (a == QLatin1String("--role")) {
            o.role = next == QLatin1String("full") ? store::Role::Full
                     : next == QLatin1String("depot") ? store::Role::Depot : store::Role::Foreman;
            ++i;
        } else {
            std::fprintf(stderr, "load_workstation: unknown argument %s\n", qPrintable(a));
            std::exit(2);
        }
    }
    if (o.server.isEmpty() || o.database.isEmpty() || o.log.isEmpty()) {
        std::fprintf(stderr, "load_workstation: --server, --database and --log are needed\n");
        std::exit(2);
    }
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setWorkstationLocale();
    const Options o = parse(app.arguments());
    // Nobody answers a message box here: each is written down and answered with its first button.
    msg::setHandler([](const msg::Request& r) {
        std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
        return 0;
    });
    std::signal(SIGUSR1, [](int) { freezeRequested = true; });
    store::setDayCellReadHook([](const store::DayCell&) {
        if (freezeRequested.exchange(false)) raise(SIGSTOP);
    });

    std::unique_ptr<SilentProxy> proxy;
    std::atomic<bool> ending{false};
    std::thread lineKeeper;
    if (o.viaProxy) {
        proxy = std::make_unique<SilentProxy>(o.server);
        std::signal(SIGUSR2, [](int) { ++lineToggles; });
        lineKeeper = std::thread([&] {
            int seen = 0;
            while (!ending) {
                if (const int now = lineToggles; now != seen) {
                    seen = now;
                    if (now % 2 == 1) proxy->goSilent();
                    else proxy->resume();
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    struct Ending {
        std::atomic<bool>& ending;
        std::thread& keeper;
        ~Ending()
        {
            ending = true;
            if (keeper.joinable()) keeper.join();
        }
    } endKeeper{ending, lineKeeper};

    TDataModule6 data;
    DataModule6 = &data;
    try {
        data.openDatabase(connectionString(o.database, proxy ? proxy->address() : o.server));
    } catch (const DbError& e) {
        std::fprintf(stderr, "load_workstation: %s\n", qPrintable(e.text()));
        return 1;
    }
    // As the sign-in leaves them: the role, and the journal showing every entry but those marked "ta".
    data.setActor(store::Actor::here(o.role));
    for (Dataset* ds : data.journalDatasets()) ds->setParam(QStringLiteral("ok"), QStringLiteral("ta"));
    Workstation station(o, data);
    if (o.reportCheck) {
        station.reportCheck();
        return 0;
    }

    QElapsedTimer clock;
    clock.start();
    std::pair<long, int> atThousand{0, 0};
    // A shop's workstations do not all act in the same second: each begins after a pause of its own.
    station.think();
    for (;;) {
        if (o.actions > 0 && station.actionsDone() >= o.actions) break;
        if (o.actions == 0 && clock.elapsed() >= qint64(o.seconds) * 1000) break;
        station.step();
        QCoreApplication::processEvents();
        if (o.memory && atThousand.first == 0 && station.actionsDone() >= 1000) atThousand = memoryAndHandles();
        station.think();
    }
    if (o.memory) {
        const auto [rss, fds] = memoryAndHandles();
        std::printf("memory after 1000 actions: %ld kB resident, %d open files\n", atThousand.first, atThousand.second);
        std::printf("memory after %d actions: %ld kB resident, %d open files; growth %ld kB\n", station.actionsDone(), rss,
                    fds, rss - atThousand.first);
    }
    return 0;
}
