// The four summary reports over a year of the journal (100,000 entries, 300 workers, 40 products): from
// the click on the report's button to the first page painted in the preview, against psql running the
// same statement and printing its rows to /dev/null. Prints figures; asserts nothing.
//
//   reports_bench [runs]      (default 3; psql and the program alternate, medians are compared)

#include "core/application.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "reportengine/page_view.h"
#include "reportengine/preview_dialog.h"
#include "reportengine/report.h"
#include "reports/products_detail_report.h"
#include "reports/products_report.h"
#include "reports/reports_window.h"
#include "reports/workers_detail_report.h"
#include "reports/workers_report.h"
#include "support/psql_clock.h"
#include "support/test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QDate kFrom(2023, 1, 1);
const QDate kTo(2024, 1, 1);

// Workers keep to four products each; painting comes in four colours; prices and counts vary.
const char* kYear = R"(
select setseed(0.42);
insert into accounts_dep.person (fio) select 'Работник ' || lpad(g::text, 3, '0') from generate_series(1, 300) g;
insert into accounts_dep.izdel (marka, nom, massa)
select 'М-' || lpad(g::text, 2, '0'), 'Изделие ' || lpad(g::text, 2, '0'), 0.5 + g * 0.1 from generate_series(1, 40) g;
insert into accounts_dep.vid_oper (vid) values ('Резка'), ('Сварка'), ('Гибка'), ('Покраска'), ('Сборка'), ('Упаковка');
insert into accounts_dep.oper (vid, naimen, i_id, cena_new)
select k.id, case when k.id in (1, 3) then 1 else 0 end, i.id, 1
from accounts_dep.izdel i cross join accounts_dep.vid_oper k where (i.id + k.id) % 2 = 0 or k.vid = 'Покраска';
create temporary table ops as
select o.id, o.i_id, o.vid, row_number() over (partition by o.i_id order by o.id) - 1 as n,
       count(*) over (partition by o.i_id) as cnt
from accounts_dep.oper o;
insert into accounts_dep.smena (w_id, i_id, o_id, kol_vo, brak, data, smena, cena, color, ok, time)
select e.w, o.i_id, o.id, 1 + (random() * 200)::int, (random() * 3)::int, date '2023-01-01' + (random() * 364)::int,
       1 + (random() * 3)::int, round((0.5 + random() * 3)::numeric, 4),
       case when v.vid = 'Покраска' then (array[1, 3, 5, 7])[1 + (random() * 3)::int] else 0 end, 'ok', 8
from (select g, 1 + g % 300 as w, 1 + ((g % 300) * 7 + (g / 300) % 4) % 40 as p from generate_series(1, 100000) g) e
join ops o on o.i_id = e.p and o.n = (e.g / 1200) % o.cnt
join accounts_dep.vid_oper v on v.id = o.vid;
analyze;
)";

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// psql runs the statement with the period written in.
double psqlSeconds(const TestDatabase& db, const QString& statement)
{
    return psqlSeconds(QStringLiteral("localhost"), db.name(), withPeriod(statement, kFrom, kTo));
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

double programSeconds(QPushButton* button, int* pages)
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
    *pages = watch.pages;
    return watch.seconds;
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
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    TestDatabase db(QString::fromUtf8(kYear));
    db.connectProgram();
    std::printf("journal: %s entries, %s workers, %s products, %s operations\n",
                qPrintable(db.value("select count(*) from accounts_dep.smena")),
                qPrintable(db.value("select count(*) from accounts_dep.person")),
                qPrintable(db.value("select count(*) from accounts_dep.izdel")),
                qPrintable(db.value("select count(*) from accounts_dep.oper")));

    TForm16 byWorkers(*DataModule6);
    TForm17 byProducts(*DataModule6);
    TForm20 detailByWorkers(*DataModule6);
    TForm21 detailByProducts(*DataModule6);
    TForm18 window(*DataModule6, {byWorkers, byProducts, detailByWorkers, detailByProducts});
    window.DTPicker1->setDate(kFrom);
    window.DTPicker2->setDate(kTo);

    struct Case {
        const char* name;
        QPushButton* button;
        SummaryReport* report;
    };
    const Case cases[] = {
        {"Отчет по рабочим (TForm16)", window.Button4, &byWorkers},
        {"Отчет по продукции (TForm17)", window.Button2, &byProducts},
        {"Детальный отчет по рабочим (TForm20)", window.Button1, &detailByWorkers},
        {"Детальный отчет по продукции (TForm21)", window.Button3, &detailByProducts},
    };
    double worst = 0;
    for (const Case& c : cases) {
        std::vector<double> psql, program;
        int pages = 0;
        for (int run = 0; run < runs; ++run) {
            psql.push_back(psqlSeconds(db, c.report->query()->sqlText()));
            program.push_back(programSeconds(c.button, &pages));
        }
        const double rows = db.value("select count(*) from (" +
                                     QString(c.report->query()->sqlText())
                                         .replace(":data1", "date '2023-01-01'")
                                         .replace(":data2", "date '2024-01-01'") + ") q").toDouble();
        const double ratio = median(program) / median(psql);
        worst = std::max(worst, ratio);
        std::printf("%-40s rows %6.0f, pages %4d | psql %.3f s | button to first page %.3f s | ratio %.2f\n", c.name,
                    rows, pages, median(psql), median(program), ratio);
        std::fflush(stdout);
    }
    std::vector<double> idle;
    for (int run = 0; run < runs; ++run) idle.push_back(psqlSeconds(db, QStringLiteral("select 1")));
    std::printf("worst ratio %.2f (target <= 2); of each psql figure, %.3f s is psql starting and connecting\n",
                worst, median(idle));
    return 0;
}
