// A report of about 1,000 pages (six detail fields, two group levels with running sums) prepared and
// written to PDF, against the same texts drawn straight with QPainter into a PDF at the same places.
// Prints figures; asserts nothing.
//
//   reportengine_bench [pages] [runs]      (defaults: 1000 pages, 3 runs; runs alternate,
//                                          each measurement in a child process of its own)

#include "reportengine/memory_row_source.h"
#include "reportengine/report.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace re;

namespace {

constexpr int kProductsPerWorker = 5;
constexpr int kRowsPerProduct = 10;

ReportDefinition definition()
{
    const FontStyle bold{"Arial", 10, true};
    const FontStyle detail{"MS Sans Serif", 8};
    const FontStyle total{"MS Sans Serif", 9, true};
    const QColor totalBackground(0xEF, 0xEF, 0xEF);

    ReportDefinition d;
    d.name = QStringLiteral("Подробный отчёт по работникам");
    Group report;
    report.header.height = 7.7;
    report.header.background = QColor(0xF4, 0xF4, 0xF4);
    report.header.elements = {label(0, 120, "Подробный отчёт по работникам").withFont(bold)};
    report.footer.height = 5.8;
    report.footer.frame = Frame::box();
    report.footer.background = QColor(0xDC, 0xDC, 0xDC);
    report.footer.elements = {
        label(106.1, 20, "Итого:").withFont({"MS Sans Serif", 11, true}),
        expr(145.0, 19.3, "sum(kolvo)", Qt::AlignHCenter).withFont({"MS Sans Serif", 11, true}),
        expr(165.9, 23.5, "sum(summa)", Qt::AlignHCenter).withMask("#0.00").withFont({"MS Sans Serif", 11, true}),
    };

    Group worker;
    worker.expression = "t_Report.fio";
    worker.keepHeaderWithFooter = true;
    worker.header.height = 5.3;
    worker.header.background = QColor(0xE0, 0xE0, 0xE0);
    worker.header.elements = {expr(0, 120, "fio").withFont(bold)};
    worker.footer.height = 6.3;
    worker.footer.frame = Frame::below();
    worker.footer.elements = {
        expr(145.5, 19.3, "sum(kolvo)", Qt::AlignHCenter).withFont(total).withBackground(totalBackground),
        expr(169.9, 19.6, "sum(summa)", Qt::AlignHCenter).withMask("#0.00").withFont(total).withBackground(totalBackground),
    };

    Group product;
    product.expression = "marka";
    product.keepHeaderWithFooter = true;
    product.header.height = 5.3;
    product.header.elements = {expr(0, 120, "marka").withFont(bold)};
    product.footer.height = 5.3;
    product.footer.elements = {
        expr(145.5, 19.3, "sum(kolvo)", Qt::AlignHCenter).withFont(total),
        expr(169.9, 19.6, "sum(summa)", Qt::AlignHCenter).withMask("#0.000").withFont(total),
    };
    d.groups = {report, worker, product};

    d.detail.height = 4.2;
    d.detail.elements = {
        expr(0.3, 41.0, "marka").withFont(detail),
        expr(42.9, 29.1, "vid", Qt::AlignHCenter).withFont(detail),
        expr(73.6, 16.1, "color", Qt::AlignHCenter).withFont(detail),
        expr(91.3, 29.9, "IF(naimen=0,'Готовая продукция','Заготовки')").withFont(detail),
        expr(146.3, 17.5, "kolvo", Qt::AlignHCenter).withFont(detail),
        expr(169.9, 19.6, "summa", Qt::AlignHCenter).withMask("#0.00").withFont(detail),
    };
    d.pageFooter.height = 5;
    d.pageFooter.elements = {expr(176.2, 13.8, "PAGENUMBER", Qt::AlignRight).withFont({"Arial", 9})};
    return d;
}

MemoryRowSource rows(int workers)
{
    static const QStringList operations{"резка", "сварка", "гибка", "покраска", "сборка", "упаковка"};
    MemoryRowSource source("t_Report", {"fio", "marka", "vid", "naimen", "kolvo", "summa", "color"});
    int n = 0;
    for (int w = 0; w < workers; ++w) {
        const QString fio = QStringLiteral("Работник %1").arg(w, 5, 10, QChar(u'0'));
        for (int p = 0; p < kProductsPerWorker; ++p) {
            const QString marka = QStringLiteral("Изделие %1-%2").arg(w % 97).arg(p);
            for (int r = 0; r < kRowsPerProduct; ++r, ++n) {
                source.append({fio, marka, operations[n % operations.size()], n % 3 == 0 ? 1 : 0,
                               1 + n % 250, (1 + n % 250) * 0.137, n % 7});
            }
        }
    }
    return source;
}

int pagesFor(int workers)
{
    const MemoryRowSource source = rows(workers);
    Report report(definition(), source);
    report.prepare();
    return report.pageCount();
}

struct EngineTimes {
    double build = 0, prepare = 0, write = 0;
    double total() const { return build + prepare + write; }
};

EngineTimes runEngine(const MemoryRowSource& source, const QString& pdf)
{
    EngineTimes t;
    QElapsedTimer clock;
    clock.start();
    Report report(definition(), source);
    t.build = clock.nsecsElapsed() / 1e9;
    clock.restart();
    report.prepare();
    t.prepare = clock.nsecsElapsed() / 1e9;
    clock.restart();
    report.writePdf(pdf);
    t.write = clock.nsecsElapsed() / 1e9;
    return t;
}

// The baseline: only the texts, drawn one by one where the engine put them, fonts and colours
// switched only when they change.
double runDirect(const Document& doc, const QString& pdf)
{
    QElapsedTimer clock;
    clock.start();
    QPdfWriter writer(pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    const double k = writer.logicalDpiX() / 25.4;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        if (p > 0)
            writer.newPage();
        int font = -1;
        QRgb color = 0;
        bool colorSet = false;
        for (const TextItem& t : doc.pages[p].texts) {
            if (t.font != font) {
                font = t.font;
                painter.setFont(doc.fonts[size_t(font)]);
            }
            if (!colorSet || t.color != color) {
                color = t.color;
                painter.setPen(QColor::fromRgba(color));
                colorSet = true;
            }
            const QRectF r(t.rect.x() * k, t.rect.y() * k, t.rect.width() * k, t.rect.height() * k);
            painter.drawText(r, t.flags, t.text);
        }
    }
    painter.end();
    return clock.nsecsElapsed() / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One measurement in a process of its own: Qt's PDF writer grows and frees large buffers on every
// page, and a run that finds memory freed by the run before it is a third faster; a fresh process
// gives both sides the same start.
int measure(const QString& mode, int workers, const QString& pdf)
{
    const MemoryRowSource source = rows(workers);
    if (mode == QLatin1String("direct")) {
        Report reference(definition(), source);
        reference.prepare();
        std::printf("%.6f 0 0 %.6f\n", runDirect(reference.document(), pdf), 0.0);
    } else {
        const EngineTimes e = runEngine(source, pdf);
        std::printf("%.6f %.6f %.6f %.6f\n", e.total(), e.build, e.prepare, e.write);
    }
    return 0;
}

QList<double> child(const QString& mode, int workers, const QString& pdf)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {"--measure", mode, QString::number(workers), pdf});
    p.waitForFinished(-1);
    QList<double> figures;
    for (const QString& f : QString::fromLatin1(p.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts))
        figures << f.toDouble();
    if (p.exitCode() != 0 || figures.size() != 4) {
        std::fprintf(stderr, "the %s measurement failed\n", qPrintable(mode));
        std::exit(1);
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--measure"))
        return measure(args[2], args[3].toInt(), args[4]);

    const int wantedPages = args.size() > 1 ? std::max(1, args[1].toInt()) : 1000;
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 3;

    // The fewest workers that fill the wanted pages.
    int workers = std::max(1, wantedPages * 100 / std::max(1, pagesFor(100)));
    while (pagesFor(workers) < wantedPages)
        ++workers;
    while (workers > 1 && pagesFor(workers - 1) >= wantedPages)
        --workers;

    QTemporaryDir dir;
    const QString enginePdf = dir.filePath("engine.pdf");
    const QString directPdf = dir.filePath("direct.pdf");
    {
        const MemoryRowSource source = rows(workers);
        Report reference(definition(), source);
        reference.prepare();
        size_t texts = 0, fills = 0, lines = 0;
        for (const Page& p : reference.document().pages) {
            texts += p.texts.size();
            fills += p.fills.size();
            lines += p.lines.size();
        }
        std::printf("report: %d pages, %d rows, %zu texts, %zu fills, %zu lines\n",
                    reference.pageCount(), source.rowCount(), texts, fills, lines);
    }

    std::vector<double> engine, direct, prepare, write;
    for (int run = 1; run <= runs; ++run) {
        const QList<double> d = child("direct", workers, directPdf);
        const QList<double> e = child("engine", workers, enginePdf);
        direct.push_back(d[0]);
        engine.push_back(e[0]);
        prepare.push_back(e[1] + e[2]);
        write.push_back(e[3]);
        std::printf("run %d: direct QPainter %.3f s | engine %.3f s (build %.3f, prepare %.3f, write PDF %.3f) | ratio %.2f\n",
                    run, d[0], e[0], e[1], e[2], e[3], e[0] / d[0]);
        std::fflush(stdout);
    }
    std::printf("median: direct %.3f s, engine %.3f s (build+prepare %.3f, write %.3f), ratio %.2f (target <= 1.2)\n",
                median(direct), median(engine), median(prepare), median(write), median(engine) / median(direct));
    std::printf("PDF sizes: engine %lld bytes, direct %lld bytes\n",
                QFileInfo(enginePdf).size(), QFileInfo(directPdf).size());
    return 0;
}
