// The pay statements over a month of 100,000 entries and 300 workers (some 2,700 pages):
//  - from the click on "Просмотр" to the first page painted in the preview, against psql running the same
//    statement and printing its rows to /dev/null;
//  - the whole document laid out and written as PDF under the cancellable progress bar, against the same
//    pages' texts drawn straight with QPainter into a PDF (the report engine's direct-painting baseline),
//    both per page, each measurement in a process of its own.
// Prints figures; asserts nothing.
//
//   pay_statements_bench [runs]      (default 3; runs alternate between the two sides, medians are compared)

#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "reportengine/page_view.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report.h"
#include "reportengine/work_progress.h"
#include "reports/dataset_rows.h"
#include "reports/pay_statement.h"
#include "reports/pay_statements_window.h"
#include "store/connection.h"
#include "store/reads/reports.h"
#include "support/psql_clock.h"
#include "support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const QDate kFrom(2024, 2, 1);
const QDate kTo(2024, 3, 1);

// 300 workers, 40 products, six operation kinds; each operation's norms; 100,000 entries of February
// 2024 in the four shifts, priced as the entry editor prices them (the lowest norm price, doubled on
// days off, then x1.2 in shift 3 and x1.5 in overtime, to four decimals), some with a bonus, most
// accepted, a few without hours.
const char* kMonth = R"(
select setseed(0.42);
insert into accounts_dep.person (fio) select 'Работник ' || lpad(g::text, 3, '0') from generate_series(1, 300) g;
insert into accounts_dep.izdel (marka, nom, massa)
select 'М-' || lpad(g::text, 2, '0'), 'Изделие ' || lpad(g::text, 2, '0'), 0.5 + g * 0.1 from generate_series(1, 40) g;
insert into accounts_dep.vid_oper (vid) values ('Резка'), ('Сварка'), ('Гибка'), ('Покраска'), ('Сборка'), ('Упаковка');
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select k.id, case when k.id in (1, 3) then 1 else 0 end, i.id, round((0.5 + random() * 3)::numeric, 2)
from accounts_dep.izdel i cross join accounts_dep.vid_oper k where (i.id + k.id) % 2 = 0 or k.vid = 'Покраска';
insert into accounts_dep.norm (o_id, norma, prize, price)
select id, 100, 0, cena_new + 0.25 from accounts_dep.oper;
create temporary table ops as
select o.id, o.i_id, o.vid, n.lowest, row_number() over (partition by o.i_id order by o.id) - 1 as n,
       count(*) over (partition by o.i_id) as cnt
from accounts_dep.oper o join (select o_id, min(price) lowest from accounts_dep.norm group by o_id) n on n.o_id = o.id;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok, time, prize)
select e.w, o.i_id, o.id, e.pieces, e.rejects, e.day, e.shift,
       round((o.lowest * case when extract(isodow from e.day) >= 6 then 2 else 1 end
              * case e.shift when 3 then 1.2 when 4 then 1.5 else 1 end)::numeric, 4),
       case when v.vid = 'Покраска' then (array[1, 3, 5, 7])[1 + (random() * 3)::int] else 0 end,
       case when random() < 0.9 then 'ok' else 'no' end,
       case when random() < 0.05 then null else 1 + (random() * 7)::int end,
       case when random() < 0.1 then 5 else 0 end
from (select g, 1 + g % 300 as w, 1 + ((g % 300) * 7 + (g / 300) % 4) % 40 as p,
             date '2024-02-01' + (random() * 28)::int as day, 1 + (random() * 3)::int as shift,
             1 + (random() * 200)::int as pieces, (random() * 3)::int as rejects
      from generate_series(1, 100000) g) e
join ops o on o.i_id = e.p and o.n = (e.g / 1200) % o.cnt
join accounts_dep.vid_oper v on v.id = o.vid;
analyze;
)";

// The processor time of this process: on a machine that others share, the wall clock says as much about
// them as about the work measured.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString statementForPsql(QString statement)
{
    statement = withPeriod(statement, kFrom, kTo);
    statement.replace(QStringLiteral(":worker"), QStringLiteral("0"));
    statement.replace(QStringLiteral(":accepted"), QStringLiteral("0"));
    return statement;
}

// Notes the first page painted by a preview, and closes the preview once that paint is done.
class FirstPaint : public QObject {
public:
    QElapsedTimer clock;
    double seconds = -1;
    int pages = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && seconds < 0 && qobject_cast<re::PageView*>(watched)) {
            auto* preview = qobject_cast<re::PreviewDialog*>(static_cast<QWidget*>(watched)->window());
            QTimer::singleShot(0, this, [this, preview] {
                if (seconds >= 0) return;
                seconds = clock.nsecsElapsed() / 1e9;
                pages = preview ? preview->pageCount() : 0;
                if (preview) preview->accept();
            });
        }
        return false;
    }
};

double firstPageSeconds(QPushButton* button, int* pagesReady)
{
    FirstPaint watch;
    qApp->installEventFilter(&watch);
    // Never hang on a preview that paints nothing.
    QTimer::singleShot(120000, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    watch.clock.start();
    button->click();
    qApp->removeEventFilter(&watch);
    *pagesReady = watch.pages;
    return watch.seconds;
}

// The baseline: only the texts, drawn one by one where the engine put them, fonts and colours switched
// only when they change (as bench/reportengine draws them).
void drawDirect(const re::Document& doc, const QString& pdf)
{
    QPdfWriter writer(pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    const double k = writer.logicalDpiX() / 25.4;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        if (p > 0) writer.newPage();
        int font = -1;
        QRgb color = 0;
        bool colorSet = false;
        for (const re::TextItem& t : doc.pages[p].texts) {
            if (t.font != font) {
                font = t.font;
                painter.setFont(doc.fonts[size_t(font)]);
            }
            if (!colorSet || t.color != color) {
                color = t.color;
                painter.setPen(QColor::fromRgba(color));
                colorSet = true;
            }
            painter.drawText(QRectF(t.rect.x() * k, t.rect.y() * k, t.rect.width() * k, t.rect.height() * k), t.flags,
                             t.text);
        }
    }
    painter.end();
}

// One measurement in a process of its own (Qt's PDF writer runs a third faster in a process whose memory
// an earlier run has grown): the lines read, then either the engine laying out and writing every page
// under the progress bar, or the baseline drawing the texts of the same pages. Prints seconds and pages.
int measure(const QString& mode, const QString& database, const QString& pdf)
{
    DataModule6 = new TDataModule6(qApp);
    DataModule6->openDatabase(connectionString(database, QStringLiteral("localhost")));
    Dataset lines(store::reads::payStatementLines());
    lines.setConnectionName(DataModule6->kConnection);
    lines.setParam(QStringLiteral("data1"), kFrom);
    lines.setParam(QStringLiteral("data2"), kTo);
    lines.setParam(QStringLiteral("worker"), 0);
    lines.setParam(QStringLiteral("accepted"), 0);
    lines.open();
    const DatasetRows rows(lines);
    re::Report report(paystatement::layout(), rows);
    paystatement::setHeading(report, {kFrom, kTo}, false);
    bool barShown = false;
    double layoutCpu = 0;
    if (mode == QLatin1String("direct")) report.prepare();
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuSeconds();
    if (mode == QLatin1String("direct")) {
        drawDirect(report.document(), pdf);
    } else {
        QWidget parent;
        // As the preview saves: the rest of the layout and the writing under one cancellable progress bar.
        re::WorkProgress work(&parent, QStringLiteral("Сохранение в PDF"));
        report.prepareFirstPages(1);
        report.finishPreparing(work.progress());
        layoutCpu = cpuSeconds() - cpu;
        report.writePdf(pdf, work.progress());
        barShown = work.dialog() != nullptr;
    }
    std::printf("%.6f %.6f %d %d %.6f\n", clock.nsecsElapsed() / 1e9, cpuSeconds() - cpu, report.pageCount(),
                barShown ? 1 : 0, layoutCpu);
    return 0;
}

QList<double> child(const QString& mode, const QString& database, const QString& pdf)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--measure", mode, database, pdf});
    p.waitForFinished(-1);
    QList<double> figures;
    for (const QString& f : QString::fromLatin1(p.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts))
        figures << f.toDouble();
    if (p.exitCode() != 0 || figures.size() != 5) {
        std::fprintf(stderr, "the %s measurement failed: %s\n", qPrintable(mode), p.readAllStandardError().constData());
        std::exit(1);
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's note on every maximized window says nothing about speed.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
        if (!text.contains(QLatin1String("propagateSizeHints"))) std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    setWorkstationLocale();
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--measure")) return measure(args[2], args[3], args[4]);
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 3;

    TestDatabase db(QString::fromUtf8(kMonth));
    db.connectProgram();
    std::printf("journal: %s entries in February 2024, %s workers with entries, %s products, %s operations\n",
                qPrintable(db.value("select count(*) from accounts_dep.smena")),
                qPrintable(db.value("select count(distinct w_id) from accounts_dep.smena")),
                qPrintable(db.value("select count(*) from accounts_dep.izdel")),
                qPrintable(db.value("select count(*) from accounts_dep.oper")));
    std::fflush(stdout);

    TForm24 window(*DataModule6, [] { return std::optional<StatementWorker>(); });
    window.DTPicker1->setDate(kFrom);
    window.DTPicker2->setDate(kTo);
    const QString statement = statementForPsql(window.PayLines->sqlText());

    std::vector<double> psql, program;
    int ready = 0;
    for (int run = 0; run < runs; ++run) {
        psql.push_back(psqlSeconds(QStringLiteral("localhost"), db.name(), statement));
        program.push_back(firstPageSeconds(window.Button1, &ready));
        std::printf("run %d: psql %.3f s | button to first page %.3f s (%d pages ready)\n", run + 1, psql.back(),
                    program.back(), ready);
        std::fflush(stdout);
    }
    std::vector<double> idle;
    for (int run = 0; run < runs; ++run) idle.push_back(psqlSeconds(QStringLiteral("localhost"), db.name(), QStringLiteral("select 1")));
    std::printf("first page: rows %s | psql %.3f s | button to first page %.3f s | ratio %.2f (target <= 2); "
                "of each psql figure, %.3f s is psql starting and connecting\n",
                qPrintable(db.value("select count(*) from (" + statement + ") q")), median(psql), median(program),
                median(program) / median(psql), median(idle));
    std::fflush(stdout);

    QTemporaryDir dir;
    const QString enginePdf = dir.filePath("engine.pdf");
    const QString directPdf = dir.filePath("direct.pdf");
    std::vector<double> engine, direct, engineCpu, directCpu;
    int pages = 0;
    bool bar = false;
    for (int run = 1; run <= runs; ++run) {
        const QList<double> d = child("direct", db.name(), directPdf);
        const QList<double> e = child("engine", db.name(), enginePdf);
        pages = int(e[2]);
        bar = e[3] != 0;
        direct.push_back(d[0] / d[2]);
        engine.push_back(e[0] / e[2]);
        directCpu.push_back(d[1] / d[2]);
        engineCpu.push_back(e[1] / e[2]);
        std::printf("run %d: %d pages | direct QPainter %.3f s, processor %.3f s (%.2f ms/page) | engine, layout and PDF "
                    "%.3f s, processor %.3f s (%.2f ms/page; layout %.3f s) | ratio %.2f, of processor time %.2f\n",
                    run, pages, d[0], d[1], 1000 * d[1] / d[2], e[0], e[1], 1000 * e[1] / e[2], e[4],
                    e[0] / d[0], e[1] / d[1]);
        std::fflush(stdout);
    }
    std::printf("whole PDF: %d pages, progress bar %s | per page: direct %.2f ms (processor %.2f ms), engine %.2f ms "
                "(processor %.2f ms) | ratio %.2f, of processor time %.2f (target <= 1.2)\n",
                pages, bar ? "shown" : "not shown", 1000 * median(direct), 1000 * median(directCpu), 1000 * median(engine),
                1000 * median(engineCpu), median(engine) / median(direct), median(engineCpu) / median(directCpu));
    std::printf("PDF sizes: engine %lld bytes, direct %lld bytes\n", QFileInfo(enginePdf).size(),
                QFileInfo(directPdf).size());
    return 0;
}
