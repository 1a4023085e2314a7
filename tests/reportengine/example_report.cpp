#include "example_report.h"

#include <map>

namespace example {

using namespace re;

MemoryRowSource workRows(std::vector<QVariantList> rows)
{
    return MemoryRowSource(QStringLiteral("t_Report"),
                           {"fio", "nom", "vid", "naimen", "color", "kolvo", "summa"}, std::move(rows));
}

std::vector<QVariantList> smallWorkSet()
{
    return {
        {"Иванов", "Коробка", "резка", 0, 0, 10, 25.0},
        {"Иванов", "Коробка", "сварка", 0, 1, 2, 12.5},
        {"Иванов", "Крышка", "покраска", 1, 5, 4, 10.125},
        {"Петров", "Коробка", "резка", 0, 0, 7, 17.5},
    };
}

ReportDefinition byWorkers()
{
    const FontStyle heading{"Arial", 10, true};
    const FontStyle detail{"MS Sans Serif", 9};
    const FontStyle total{"MS Sans Serif", 9, true};
    const FontStyle grand{"MS Sans Serif", 11, true};
    const QColor totalBackground(0xEF, 0xEF, 0xEF);

    ReportDefinition d;
    d.name = QStringLiteral("Отчёт по работникам");

    Group report;
    report.header.height = 7.7;
    report.header.background = QColor(0xF4, 0xF4, 0xF4);
    report.header.elements = {label(0, 120, QString()).withName("QRLabel1").withFont(heading)};
    report.header.children = {Band{.height = 0.5}};
    report.footer.height = 5.8;
    report.footer.background = QColor(0xDC, 0xDC, 0xDC);
    report.footer.frame = Frame::box();
    report.footer.elements = {
        label(137.8, 20, "Итого:").withFont(grand),
        expr(160.9, 28.0, "sum(summa)", Qt::AlignHCenter).withMask("#0.00").withFont(grand),
    };

    Group worker;
    worker.expression = QStringLiteral("t_Report.fio");
    worker.header.height = 6.6;
    worker.header.background = QColor(0xE0, 0xE0, 0xE0);
    worker.header.elements = {expr(0, 120, "fio").withFont(heading)};
    worker.footer.height = 6.1;
    worker.footer.frame = Frame::below();
    worker.footer.elements = {
        expr(163.0, 23.8, "sum(summa)", Qt::AlignHCenter).withMask("#0.00").withFont(total).withBackground(totalBackground),
    };

    Group product;
    product.expression = QStringLiteral("t_Report.nom");
    product.keepHeaderWithFooter = true;
    product.header.height = 5.3;
    product.header.elements = {expr(0, 120, "nom").withFont(heading)};
    product.footer.height = 5.3;
    product.footer.elements = {
        expr(137.8, 19.3, "sum(kolvo)", Qt::AlignHCenter).withFont(total).withBackground(totalBackground),
        expr(163.0, 23.8, "sum(summa)", Qt::AlignHCenter).withMask("#0.000").withFont(total).withBackground(totalBackground),
    };

    d.groups = {report, worker, product};

    d.detail.height = 4.2;
    d.detail.elements = {
        expr(13.2, 42.1, "IF(naimen=0,'Готовая продукция','Заготовки')").withFont(detail),
        expr(56.9, 43.1, "vid", Qt::AlignHCenter).withFont(detail),
        expr(101.6, 34.7, "if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')").withFont(detail),
        expr(137.8, 19.3, "kolvo", Qt::AlignHCenter).withFont(detail),
        expr(163.0, 23.5, "summa", Qt::AlignHCenter).withMask("#0.000").withFont(detail),
    };

    d.pageFooter.height = 5;
    d.pageFooter.elements = {expr(176.2, 13.8, "PAGENUMBER", Qt::AlignRight).withFont({"Arial", 9})};
    return d;
}

QStringList pageLines(const Document& document, int page)
{
    std::map<qint64, std::vector<const TextItem*>> rows;
    for (const TextItem& t : document.pages.at(size_t(page)).texts)
        rows[qRound64(t.rect.top() * 1000)].push_back(&t);
    QStringList lines;
    for (auto& [top, items] : rows) {
        std::sort(items.begin(), items.end(),
                  [](const TextItem* a, const TextItem* b) { return a->rect.left() < b->rect.left(); });
        QStringList texts;
        for (const TextItem* t : items) {
            if (!t->text.trimmed().isEmpty())
                texts << t->text.trimmed();
        }
        if (!texts.isEmpty())
            lines << texts.join(QStringLiteral(" | "));
    }
    return lines;
}

} // namespace example
