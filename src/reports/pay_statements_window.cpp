#include "reports/pay_statements_window.h"

#include "reports/period_box.h"

#include "core/data_module.h"
#include "core/dataset.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "core/wait_cursor.h"
#include "reportengine/report.h"
#include "reports/dataset_rows.h"
#include "reports/pay_statement.h"
#include "reports/payroll.h"
#include "spreadsheet/csv_file.h"
#include "store/reads/reports.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Расчетные листки");

// Closes the lines when the action ends, also when an error ends it, so that the next one reads the
// journal anew.
struct ClosedAfter {
    Dataset& lines;
    ~ClosedAfter() { lines.close(); }
};

void tell(const QString& text)
{
    msg::show({msg::Icon::Information, kCaption, text, msg::Ok});
}

}  // namespace

TForm24::TForm24(TDataModule6& data, WorkerPicker pickWorker, QWidget* parent)
    : QDialog(parent), pickWorker_(std::move(pickWorker))
{
    setObjectName(QStringLiteral("Form24"));
    setWindowTitle(kCaption);

    const PeriodBox period = makePeriodBox(QStringLiteral("Период"), this);
    GroupBox1 = period.box;
    Label1 = period.fromLabel;
    DTPicker1 = period.from;
    Label2 = period.toLabel;
    DTPicker2 = period.to;

    GroupBox2 = new QGroupBox(QStringLiteral("Рабочие"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    RadioButton1 = new QRadioButton(QStringLiteral("&Все, у кого есть записи за период"), GroupBox2);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("&Один рабочий"), GroupBox2);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton1->setChecked(true);
    Label3 = new QLabel(QStringLiteral("&Рабочий:"), GroupBox2);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(GroupBox2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(200);
    Edit1->installEventFilter(this);
    Label3->setBuddy(Edit1);
    Button5 = new QPushButton(QStringLiteral("..."), GroupBox2);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setAutoDefault(false);
    Button5->setToolTip(QStringLiteral("Выбрать рабочего (Enter или F4 в поле)"));
    auto* workerRow = new QHBoxLayout;
    workerRow->addWidget(Label3);
    workerRow->addWidget(Edit1, 1);
    workerRow->addWidget(Button5);
    auto* workers = new QVBoxLayout(GroupBox2);
    workers->addWidget(RadioButton1);
    workers->addWidget(RadioButton2);
    workers->addLayout(workerRow);

    CheckBox1 = new QCheckBox(QStringLiteral("Только &принятые записи"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        // Enter in a date picker must not start anything.
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("Просмотр"));
    Button2 = button("Button2", QStringLiteral("Excel"));
    Button3 = button("Button3", QStringLiteral("CSV"));
    Button4 = button("Button4", QStringLiteral("Выход"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3, Button4}) buttons->addWidget(b);

    auto* column = new QVBoxLayout(this);
    column->addWidget(GroupBox1);
    column->addWidget(GroupBox2);
    column->addWidget(CheckBox1);
    column->addLayout(buttons);
    setFixedSize(sizeHint());

    PayLines = new Dataset(store::reads::payStatementLines(), this);
    PayLines->setConnectionName(data.kConnection);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
}

void TForm24::setWorker(const std::optional<StatementWorker>& worker)
{
    worker_ = worker;
    Edit1->setText(worker ? worker->name : QString());
    if (worker) RadioButton2->setChecked(true);
}

bool TForm24::eventFilter(QObject* watched, QEvent* event)
{
    // The name box is read-only: its keys choose a worker.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F4) {
            guarded([this] { Button5Click(); })();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<TForm24::Selection> TForm24::chosen() const
{
    Selection s{{DTPicker1->date(), DTPicker2->date()}, 0, CheckBox1->isChecked()};
    if (s.period.reversed()) {
        msg::error(kReversedPeriodText);
        return std::nullopt;
    }
    if (RadioButton2->isChecked()) {
        if (!worker_) {
            msg::error(QStringLiteral("Выберите рабочего: кнопка «...» рядом с полем «Рабочий» открывает их список."));
            return std::nullopt;
        }
        s.worker = worker_->code;
    }
    return s;
}

bool TForm24::openLines(const Selection& selection)
{
    PayLines->close();
    PayLines->setParam(QStringLiteral("data1"), selection.period.from);
    PayLines->setParam(QStringLiteral("data2"), selection.period.to);
    PayLines->setParam(QStringLiteral("worker"), selection.worker);
    PayLines->setParam(QStringLiteral("accepted"), selection.acceptedOnly ? 1 : 0);
    PayLines->open();
    if (!PayLines->isEmpty()) return true;
    tell(QStringLiteral("За период %1 нет записей%2.")
             .arg(paystatement::periodText(selection.period),
                  selection.acceptedOnly ? QStringLiteral(", которые учитываются") : QString()));
    return false;
}

QString TForm24::payFile(const Selection& selection, const QString& suffix, const QString& filter)
{
    QString folder = lastFolder_;
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    QFileDialog dialog(this, QStringLiteral("Сохранить оплату труда"), folder, filter);
    dialog.setObjectName(QStringLiteral("payFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(QStringLiteral("Оплата труда ") + paystatement::periodText(selection.period) + u'.' + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void TForm24::Button1Click()
{
    const std::optional<Selection> selection = chosen();
    if (!selection) return;
    ClosedAfter closing{*PayLines};
    const DatasetRows rows(*PayLines);
    std::unique_ptr<re::Report> statements;
    {
        WaitCursor waiting;
        if (!openLines(*selection)) return;
        statements = std::make_unique<re::Report>(paystatement::layout(), rows);
        paystatement::setHeading(*statements, selection->period, selection->acceptedOnly);
        // The first worker's pages are enough to show; the rest are laid out while the preview is open.
        statements->prepareFirstPages(1);
    }
    statements->preview(this);
}

std::optional<TForm24::PayOut> TForm24::payFor(const QString& suffix, const QString& filter)
{
    const std::optional<Selection> selection = chosen();
    if (!selection) return std::nullopt;
    ClosedAfter closing{*PayLines};
    PayOut out;
    {
        WaitCursor waiting;
        if (!openLines(*selection)) return std::nullopt;
        out.rows = payrollRows(*PayLines);
    }
    out.path = payFile(*selection, suffix, filter);
    if (out.path.isEmpty()) return std::nullopt;
    return out;
}

void TForm24::Button2Click()
{
    const std::optional<PayOut> pay = payFor(QStringLiteral("xlsx"), QStringLiteral("Книга Excel (*.xlsx)"));
    if (!pay) return;
    WaitCursor waiting;
    Spreadsheet book(WorkbookOpener);
    book.NewWorkbookAt(pay->path);
    writePayrollWorkbook(pay->rows, book);
}

void TForm24::Button3Click()
{
    const std::optional<PayOut> pay = payFor(QStringLiteral("csv"), QStringLiteral("Текст CSV (*.csv)"));
    if (!pay) return;
    QString error;
    if (!csvfile::write(pay->path, payrollCsvRows(pay->rows), &error))
        msg::error(QStringLiteral("Не удалось записать файл\n%1\n%2").arg(QDir::toNativeSeparators(pay->path), error));
}

void TForm24::Button4Click()
{
    close();
}

void TForm24::Button5Click()
{
    if (!pickWorker_) return;
    if (const std::optional<StatementWorker> picked = pickWorker_()) setWorker(picked);
}

void openPayStatements(TForm24& window, const QDate& today)
{
    const ReportPeriod month = previousMonth(today);
    window.DTPicker1->setDate(month.from);
    window.DTPicker2->setDate(month.to);
    window.exec();
}
