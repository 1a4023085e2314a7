#include "reports/reports_window.h"

#include "reports/period_box.h"

#include "core/dataset.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "reportengine/work_progress.h"
#include "reports/output_export.h"
#include "reports/products_detail_report.h"
#include "reports/products_report.h"
#include "reports/workers_detail_report.h"
#include "reports/workers_report.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Closes a report's query when its preview returns, also when an error or a stop ends the report.
struct ClosedAfter {
    Dataset& query;
    ~ClosedAfter() { query.close(); }
};

QString exportCaption(int written, int rows)
{
    return QStringLiteral("Excel (%1 из %2)").arg(written).arg(rows);
}

}  // namespace

TForm18::TForm18(TDataModule6& data, SummaryReports reports, QWidget* parent)
    : QDialog(parent), reports_(reports)
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("Отчеты"));

    RadioGroup1 = new QGroupBox(QStringLiteral("Вид продукции"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    kinds_ = new QButtonGroup(this);
    auto* kindColumn = new QVBoxLayout(RadioGroup1);
    const QStringList kindItems{QStringLiteral("&Все"), QStringLiteral("&Готовая продукция"), QStringLiteral("&Заготовки")};
    for (int i = 0; i < kindItems.size(); ++i) {
        auto* item = new QRadioButton(kindItems[i], RadioGroup1);
        item->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        kinds_->addButton(item, i);
        kindColumn->addWidget(item);
    }
    setProductKindIndex(0);

    const PeriodBox period = makePeriodBox(QStringLiteral("Период отбора"), this);
    GroupBox1 = period.box;
    Label1 = period.fromLabel;
    DTPicker1 = period.from;
    Label2 = period.toLabel;
    DTPicker2 = period.to;

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        // Enter in a date picker must not start a report.
        b->setAutoDefault(false);
        return b;
    };
    Button4 = button("Button4", QStringLiteral("Отчет по рабочим"));
    Button2 = button("Button2", QStringLiteral("Отчет по продукции"));
    Button1 = button("Button1", QStringLiteral("Детальный отчет по рабочим"));
    Button3 = button("Button3", QStringLiteral("Детальный отчет по продукции"));
    Button6 = button("Button6", exportCaption(0, 0));
    Button5 = button("Button5", QStringLiteral("Выход"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(RadioGroup1);
    column->addWidget(GroupBox1);
    for (QPushButton* b : {Button4, Button2, Button1, Button3, Button6, Button5}) column->addWidget(b);
    setFixedSize(sizeHint().expandedTo(QSize(280, 0)));

    XLS_Rep = makeOutputQuery(data, this);

    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button6, &QPushButton::clicked, this, guarded([this] { Button6Click(); }));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
}

int TForm18::productKindIndex() const
{
    return kinds_->checkedId();
}

void TForm18::setProductKindIndex(int index)
{
    if (QAbstractButton* item = kinds_->button(index)) item->setChecked(true);
}

QRadioButton* TForm18::productKindItem(int index) const
{
    return qobject_cast<QRadioButton*>(kinds_->button(index));
}

ReportPeriod TForm18::period() const
{
    return {DTPicker1->date(), DTPicker2->date()};
}

std::optional<ReportPeriod> TForm18::chosenPeriod() const
{
    const ReportPeriod p = period();
    if (!p.reversed()) return p;
    msg::error(kReversedPeriodText);
    return std::nullopt;
}

ProductKind TForm18::productKind() const
{
    const int index = productKindIndex();
    return index == 1 ? ProductKind::Finished : index == 2 ? ProductKind::Blanks : ProductKind::All;
}

void TForm18::runReport(SummaryReport& report, const QString& headingPrefix)
{
    const std::optional<ReportPeriod> chosen = chosenPeriod();
    if (!chosen) return;
    Dataset& query = *report.query();
    selectRows(query, *chosen, productKind());
    ClosedAfter closing{query};
    bool prepared = false;
    {
        re::WorkProgress work(this, QStringLiteral("Подготовка отчета"));
        query.open();
        report.setHeading(periodHeading(headingPrefix, *chosen));
        prepared = report.prepare(work.progress());
    }
    if (prepared) report.preview(this);
}

void TForm18::Button4Click()
{
    runReport(reports_.byWorkers, QStringLiteral("   Отчет по рабочим за период с "));
}

void TForm18::Button2Click()
{
    runReport(reports_.byProducts, QStringLiteral("   Отчет по продукции за период с "));
}

void TForm18::Button1Click()
{
    runReport(reports_.detailByWorkers, QStringLiteral("   Детальный отчет по рабочим за период с "));
}

void TForm18::Button3Click()
{
    runReport(reports_.detailByProducts, QStringLiteral("   Детальный отчет по продукции за период с "));
}

void TForm18::Button6Click()
{
    const std::optional<ReportPeriod> chosen = chosenPeriod();
    if (!chosen) return;
    selectRows(*XLS_Rep, *chosen, productKind());
    Spreadsheet book(WorkbookOpener, WorkbookFolder);
    QElapsedTimer sincePaint;
    sincePaint.start();
    exportOutputByProducts(*XLS_Rep, book, [this, &sincePaint](int written, int rows) {
        Button6->setText(exportCaption(written, rows));
        // The count is shown as it grows, without a repaint for every row.
        if (written == 0 || written == rows || sincePaint.elapsed() >= 50) {
            Button6->repaint();
            sincePaint.restart();
        }
    });
}

void TForm18::Button5Click()
{
    close();
}

void openReportsWindow(TForm18& window, const QDate& today)
{
    const ReportPeriod month = previousMonth(today);
    window.DTPicker1->setDate(month.from);
    window.DTPicker2->setDate(month.to);
    window.exec();
}

void fixProductKindForDepot(TForm18& window)
{
    window.setProductKindIndex(1);
    window.RadioGroup1->setEnabled(false);
}
