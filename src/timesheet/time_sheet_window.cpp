#include "timesheet/time_sheet_window.h"

#include "core/data_grid.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/error_report.h"
#include "core/wait_cursor.h"
#include "core/messages.h"
#include "store/db_error.h"
#include "store/month_store.h"
#include "store/sql_text.h"
#include "store/store.h"
#include "store/time_sheet_rebuild.h"
#include "timesheet/month_note_dialog.h"
#include "timesheet/time_sheet_export.h"
#include "timesheet/time_sheet_print.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kLongDay(0xC0, 0xDC, 0xC0);
const QColor kTotalBackground(0xE1, 0xE4, 0xFF);
constexpr int kFirstYear = 2007;
constexpr int kFullDay = 8;

const QStringList kMonths{
    QStringLiteral("Январь"), QStringLiteral("Февраль"), QStringLiteral("Март"),    QStringLiteral("Апрель"),
    QStringLiteral("Май"),    QStringLiteral("Июнь"),    QStringLiteral("Июль"),    QStringLiteral("Август"),
    QStringLiteral("Сентябрь"), QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"), QStringLiteral("Декабрь"),
};

QString excelCaption()
{
    return QStringLiteral("&Excel");
}

// Both captions share their letter, so Alt+К works the button whichever it reads.
QString closeMonthCaption(bool closed)
{
    return closed ? QStringLiteral("От&крыть месяц") : QStringLiteral("За&крыть месяц");
}

// "Месяц закрыт 05.04.2024 10:15, full (ivanova@cex-2): зарплата выдана"
QString closureText(const store::MonthClosure& c)
{
    QString text = QStringLiteral("Месяц закрыт %1, %2")
                       .arg(c.at.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")), c.actor.isEmpty() ? c.dbUser : c.actor);
    if (!c.workstation.isEmpty()) text += QStringLiteral(" (%1)").arg(c.workstation);
    if (!c.note.isEmpty()) text += QStringLiteral(": ") + c.note;
    return text;
}

// The day columns are d1 ... d31, the grid's columns 1 ... 31.
bool isDayColumn(const QString& field)
{
    bool number = false;
    const int day = field.mid(1).toInt(&number);
    return field.startsWith(u'd', Qt::CaseInsensitive) && number && day >= 1 && day <= 31;
}

QList<GridColumn> shiftColumns()
{
    QList<GridColumn> columns{{.field = QStringLiteral("fio"), .title = QStringLiteral("Фамилия И. О."), .width = 208}};
    for (int day = 1; day <= 31; ++day)
        columns.append({.field = QStringLiteral("d%1").arg(day), .title = QString::number(day), .width = 20,
                        .alignment = Qt::AlignHCenter});
    QFont bold;
    bold.setBold(true);
    columns.append({.field = QStringLiteral("summ"), .title = QStringLiteral("Итого"), .width = 47, .font = bold,
                    .color = kTotalBackground});
    return columns;
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    // Enter in a grid opens nothing here; every button is reached by its letter.
    b->setAutoDefault(false);
    return b;
}

QComboBox* makeList(const QStringList& items, const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setEditable(false);
    return box;
}

}  // namespace

TForm19::TForm19(TDataModule6& data, TForm15& print, QWidget* parent) : QDialog(parent), data_(data), print_(print)
{
    setObjectName(QStringLiteral("Form19"));
    setWindowTitle(QStringLiteral("Табель по времени"));

    Button1 = makeButton(QStringLiteral("Пере&строить"), "Button1", this);
    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setMinimum(1);
    PB->hide();
    CloseMonthButton = makeButton(closeMonthCaption(false), "CloseMonthButton", this);
    Button2 = makeButton(excelCaption(), "Button2", this);
    auto* firstTabButtons = new QWidget(this);
    auto* firstTabRow = new QHBoxLayout(firstTabButtons);
    firstTabRow->setContentsMargins(0, 0, 0, 0);
    firstTabRow->addWidget(Button1);
    firstTabRow->addWidget(CloseMonthButton);
    firstTabRow->addWidget(PB, 1);
    firstTabRow->addStretch();  // holds the buttons at the ends while the bar is hidden
    firstTabRow->addWidget(Button2);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(makeTab(DBGrid1, "DBGrid1", firstTabButtons), QStringLiteral("Смена №&1"));
    PageControl1->addTab(makeTab(DBGrid2, "DBGrid2"), QStringLiteral("Смена №&2"));
    PageControl1->addTab(makeTab(DBGrid3, "DBGrid3"), QStringLiteral("Смена №&3"));
    for (int i = 0; i < 3; ++i) PageControl1->widget(i)->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
    const QList<Dataset*> shifts = shiftDatasets();
    int i = 0;
    for (DataGrid* grid : {DBGrid1, DBGrid2, DBGrid3}) grid->setDataset(shifts[i++]);

    Button6 = makeButton(QStringLiteral("&Печать"), "Button6", this);
    ComboBox1 = makeList(kMonths, "ComboBox1", this);
    ComboBox2 = makeList({}, "ComboBox2", this);
    fillYears(QDate::currentDate());
    auto* monthLabel = new QLabel(QStringLiteral("&Месяц:"), this);
    monthLabel->setBuddy(ComboBox1);
    auto* yearLabel = new QLabel(QStringLiteral("&Год:"), this);
    yearLabel->setBuddy(ComboBox2);
    Button5 = makeButton(QStringLiteral("&Обновить"), "Button5", this);
    Button4 = makeButton(QStringLiteral("&Выход"), "Button4", this);
    MonthStateLabel = new QLabel(this);
    MonthStateLabel->setObjectName(QStringLiteral("MonthStateLabel"));
    // Its line is there while the month is open too, and a long note is cut rather than widening the window.
    MonthStateLabel->setMinimumHeight(MonthStateLabel->fontMetrics().height());
    MonthStateLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont bold = MonthStateLabel->font();
    bold.setBold(true);
    MonthStateLabel->setFont(bold);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button6);
    bottom->addSpacing(24);
    bottom->addWidget(monthLabel);
    bottom->addWidget(ComboBox1);
    bottom->addWidget(yearLabel);
    bottom->addWidget(ComboBox2);
    bottom->addWidget(Button5);
    bottom->addStretch(1);
    bottom->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(MonthStateLabel);
    layout->addLayout(bottom);
    setFixedSize(sizeHint());

    // Only a choice of the user's loads a month; the opener chooses and then loads once.
    connect(ComboBox1, &QComboBox::activated, this, guarded([this] { ComboBox1Change(); }));
    connect(ComboBox2, &QComboBox::activated, this, guarded([this] { ComboBox1Change(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(CloseMonthButton, &QPushButton::clicked, this, guarded([this] { CloseMonthButtonClick(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button6, &QPushButton::clicked, this, guarded([this] { Button6Click(); }));
    connect(Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TForm19::makeTab(DataGrid*& grid, const char* name, QWidget* extras)
{
    auto* tab = new QWidget;
    grid = new DataGrid(tab);
    grid->setObjectName(QLatin1String(name));
    // Day columns are narrower than a header would make them by itself.
    grid->horizontalHeader()->setMinimumSectionSize(16);
    grid->setColumns(shiftColumns());
    // The day columns, the total and the frame, with room for the vertical scroll bar.
    int width = 2 * grid->frameWidth() + grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (const GridColumn& c : grid->columns()) width += c.width;
    grid->setMinimumSize(width, 420);
    grid->setDrawCellHook([this](CellDraw& cell, DataGrid& g) { DBGrid1DrawColumnCell(cell, g); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(grid, 1);
    if (extras) layout->addWidget(extras);
    return tab;
}

QList<Dataset*> TForm19::shiftDatasets() const
{
    return {data_.H_Tabel_1, data_.H_Tabel_2, data_.H_Tabel_3};
}

int TForm19::month() const
{
    return ComboBox1->currentIndex() + 1;
}

int TForm19::year() const
{
    return ComboBox2->currentText().toInt();
}

void TForm19::fillYears(const QDate& today)
{
    QStringList years;
    for (int y = kFirstYear; y <= today.year() + 1; ++y) years << QString::number(y);
    QStringList listed;
    for (int i = 0; i < ComboBox2->count(); ++i) listed << ComboBox2->itemText(i);
    if (listed == years) return;
    const QString chosen = ComboBox2->currentText();
    ComboBox2->clear();
    ComboBox2->addItems(years);
    if (!chosen.isEmpty()) selectYear(chosen.toInt());
}

void TForm19::selectYear(int year)
{
    const int at = ComboBox2->findText(QString::number(year));
    if (at >= 0) ComboBox2->setCurrentIndex(at);
    else ComboBox2->setCurrentIndex(year < ComboBox2->itemText(0).toInt() ? 0 : ComboBox2->count() - 1);
}

void TForm19::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Over the window it was opened from.
    QWidget* opener = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (opener && opener != this && opener->isVisible()) move(opener->frameGeometry().center() - rect().center());
    guarded([this] { FormActivate(); })();
}

void TForm19::FormActivate()
{
    Button2->setText(excelCaption());
}

void TForm19::ComboBox1Change()
{
    WaitCursor waiting;
    const int m = month();
    const int y = year();
    const QDate first(y, m, 1);
    const int days = first.daysInMonth();
    int shift = 0;
    for (DataGrid* grid : {DBGrid1, DBGrid2, DBGrid3}) {
        Dataset* ds = shiftDatasets()[shift++];
        ds->close();
        ds->setParam(QStringLiteral("mnth"), m);
        ds->setParam(QStringLiteral("yea"), y);
        ds->open();

        const QPalette& colours = grid->palette();
        QList<GridColumn> columns = grid->columns();
        for (int day = 1; day <= 31; ++day) {
            GridColumn& c = columns[day];
            if (day <= days) {
                const bool weekend = first.addDays(day - 1).dayOfWeek() >= Qt::Saturday;
                c.textColor = c.titleColor = weekend ? kRed : colours.color(QPalette::Text);
                c.readOnly = false;
            } else {
                // Past the month's end: the cells look empty.
                c.readOnly = true;
                c.textColor = colours.color(QPalette::Base);
                c.titleColor = kSilver;
            }
        }
        grid->setColumns(columns);
    }
    showMonthState();
}

void TForm19::showMonthState()
{
    const std::optional<store::MonthClosure> closure = store::monthClosure(data_.session().db, year(), month());
    monthClosed_ = closure.has_value();
    CloseMonthButton->setText(closeMonthCaption(monthClosed_));
    MonthStateLabel->setText(closure ? closureText(*closure) : QString());
    MonthStateLabel->setToolTip(MonthStateLabel->text());
}

void TForm19::DBGrid1DrawColumnCell(CellDraw& cell, DataGrid& grid)
{
    if (cell.selected || !isDayColumn(cell.field)) return;
    const GridColumn& column = grid.columns().at(cell.column);
    const bool red = column.textColor == kRed;
    const int hours = grid.rowValue(cell.row, cell.field).toInt();
    if (hours == 0) {
        if (!red) cell.textColor = kSilver;
        if (column.readOnly) cell.textColor = grid.palette().color(QPalette::Base);
    } else if (hours == kFullDay) {
        cell.font.setBold(true);
        if (!red) cell.textColor = grid.palette().color(QPalette::Text);
    } else if (hours > kFullDay) {
        cell.font.setBold(true);
        cell.background = kLongDay;
        cell.fillBackground = true;
    }
}

void TForm19::reopenShifts()
{
    for (Dataset* ds : shiftDatasets()) {
        ds->close();
        ds->open();
    }
}

void TForm19::Button1Click()
{
    const int m = month();
    const int y = year();
    // A closed month is refused before the bar shows; it may have been closed elsewhere since it was shown.
    try {
        store::refuseIfClosed(data_.session().db, QDate(y, m, 1));
    } catch (const DbError& e) {
        if (e.kind() == DbError::Kind::MonthClosed) showMonthState();
        throw;
    }
    WaitCursor waiting;
    const int days = QDate(y, m, 1).daysInMonth();
    for (Dataset* ds : shiftDatasets()) ds->close();
    // One statement writes the whole month and the window cannot repaint while it runs: the bar shows
    // itself busy before it starts, and fills day by day once the days are written.
    PB->setRange(0, 0);
    PB->show();
    // The bar was hidden: it has its place only once the layout has run.
    if (QLayout* row = PB->parentWidget()->layout()) row->activate();
    PB->repaint();
    try {
        store::rebuildMonth(data_.session(), m, y, [this, days](int day) {
            if (day == 1) PB->setRange(1, days);
            PB->setValue(day);
        });
    } catch (...) {
        // The month is as it was: show it again. When even that fails (the connection is gone), the
        // user is told the rebuild's error, which says why.
        PB->hide();
        try {
            reopenShifts();
        } catch (...) {
        }
        throw;
    }
    reopenShifts();
    PB->hide();
}

void TForm19::CloseMonthButtonClick()
{
    const int m = month();
    const int y = year();
    const bool reopening = monthClosed_;
    const QString caption = reopening ? QStringLiteral("Открытие месяца") : QStringLiteral("Закрытие месяца");
    // A note may stay empty; a reopen needs its reason.
    const std::optional<QString> text =
        askMonthNote(caption, reopening ? QStringLiteral("&Причина открытия:") : QStringLiteral("&Примечание:"), reopening, this);
    if (!text) return;
    sqltext::checkTypedText(*text);
    store::MonthChange change = store::MonthChange::Done;
    {
        WaitCursor waiting;
        // A close rebuilds the month: the shifts are read again afterwards, also after a failure, which
        // left the month as it was.
        for (Dataset* ds : shiftDatasets()) ds->close();
        try {
            change = reopening ? store::reopenMonth(data_.session(), y, m, *text) : store::closeMonth(data_.session(), y, m, *text);
        } catch (...) {
            try {
                reopenShifts();
                showMonthState();
            } catch (...) {
            }
            throw;
        }
        reopenShifts();
        showMonthState();
    }
    if (change == store::MonthChange::AlreadyThere)
        msg::show({msg::Icon::Information, caption,
                   reopening ? QStringLiteral("Месяц уже открыт на другом рабочем месте.")
                             : QStringLiteral("Месяц уже закрыт на другом рабочем месте."),
                   msg::Ok});
}

void TForm19::Button5Click()
{
    WaitCursor waiting;
    reopenShifts();
    showMonthState();
}

void TForm19::Button2Click()
{
    WaitCursor waiting;
    Spreadsheet book(WorkbookOpener, WorkbookFolder);
    const QString title = ComboBox1->currentText() + u' ' + ComboBox2->currentText();
    exportTimeSheet(*print_.H_Tabel, month(), year(), title, book, [this](int written, int records) {
        Button2->setText(excelCaption() + QStringLiteral(" (%1 из %2)").arg(written).arg(records));
        // The count repaints; the user's clicks wait until the export is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

void TForm19::Button6Click()
{
    print_.printMonth(month(), year(), ComboBox1->currentText(), this);
}

void openTimeSheet(TForm19& window, const QDate& journalDate, const QDate& today)
{
    const QList<Dataset*> shifts = window.shiftDatasets();
    const auto closeShifts = qScopeGuard([&shifts] {
        for (Dataset* ds : shifts) ds->close();
    });
    window.ComboBox1->setCurrentIndex(journalDate.month() - 1);
    // A program left running over New Year offers the new year too.
    window.fillYears(today);
    window.selectYear(journalDate.year());
    window.ComboBox1Change();
    window.exec();
}
