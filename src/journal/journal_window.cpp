#include "journal/journal_window.h"
#include "journal/people_window.h"

#include "reports/pay_statements_window.h"
#include "reports/reports_window.h"
#include "timesheet/time_sheet_window.h"
#include "store/connection.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "store/db_error.h"
#include "journal/changes_window.h"
#include "journal/entry_editor.h"
#include "journal/entry_history_window.h"
#include "refbooks/book_opening.h"
#include "refbooks/kinds_list.h"
#include "refbooks/operations_list.h"
#include "refbooks/products_list.h"
#include "refbooks/workers_list.h"
#include "core/error_report.h"
#include "journal/instances.h"
#include "core/messages.h"
#include "journal/program_end.h"
#include "journal/reopen.h"
#include "journal/signin_window.h"
#include "store/reads/journal.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "store/personal.h"
#include "store/schema_version.h"
#include "journal/version_gate.h"
#include "core/wait_cursor.h"
#include "core/date_box.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {

// The workstation's green and red, as the shop knows them from its journal.
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

void paintControl(QWidget* w, const QColor& background, bool bold)
{
    // Buttons fill with their button colour by default; the shift and day-off marks colour the area.
    w->setBackgroundRole(QPalette::Window);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

bool isWeekend(const QDate& d)
{
    return d.dayOfWeek() >= 6;
}

// "ok" and "да" both mean accepted; "ok" is what this program writes.
bool isAccepted(const QString& ok)
{
    const QString t = ok.trimmed();
    return t == QLatin1String("ok") || t == QStringLiteral("да");
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    // Enter belongs to the date box; no button of the journal is pressed by it.
    b->setAutoDefault(false);
    return b;
}

QRadioButton* makeShiftButton(const QString& text, const char* name, QWidget* parent)
{
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

}  // namespace

TForm1::TForm1(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Табель"));

    buildMenu();

    RadioButton1 = makeShiftButton(QStringLiteral("Смена №&1"), "RadioButton1", this);
    RadioButton2 = makeShiftButton(QStringLiteral("Смена №&2"), "RadioButton2", this);
    RadioButton3 = makeShiftButton(QStringLiteral("Смена №&3"), "RadioButton3", this);
    RadioButton4 = makeShiftButton(QStringLiteral("&Переработка"), "RadioButton4", this);
    RadioButton1->setChecked(true);
    paintShiftButtons(1);

    Label1 = new QLabel(QStringLiteral("Д&ата:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateT = new QDateEdit(this);
    DateT->setObjectName(QStringLiteral("DateT"));
    DateT->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateT->setCalendarPopup(true);
    DateT->installEventFilter(this);
    Label1->setBuddy(DateT);

    CBox1 = new QCheckBox(QStringLiteral("Вы&ходной"), this);
    CBox1->setObjectName(QStringLiteral("CBox1"));
    paintControl(CBox1, buttonFace(), false);

    MonthStateLabel = new QLabel(this);
    MonthStateLabel->setObjectName(QStringLiteral("MonthStateLabel"));
    {
        QPalette p = MonthStateLabel->palette();
        p.setColor(QPalette::WindowText, kRed);
        MonthStateLabel->setPalette(p);
        QFont f = MonthStateLabel->font();
        f.setBold(true);
        MonthStateLabel->setFont(f);
    }

    DBGrid2 = new DataGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    buildGrid();

    Button1 = makeButton(QStringLiteral("&Добавить"), "Button1", this);
    Button2 = makeButton(QStringLiteral("&Изменить"), "Button2", this);
    Button3 = makeButton(QStringLiteral("&Удалить"), "Button3", this);
    Button8 = makeButton(QStringLiteral("О&бновить"), "Button8", this);
    Button4 = makeButton(QStringLiteral("&Выход"), "Button4", this);  // Esc closes the window as well

    auto* top = new QHBoxLayout;
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4}) top->addWidget(r);
    top->addSpacing(24);
    top->addWidget(Label1);
    top->addWidget(DateT);
    top->addSpacing(24);
    top->addWidget(CBox1);
    top->addSpacing(24);
    top->addWidget(MonthStateLabel);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3, Button8}) bottom->addWidget(b);
    bottom->addStretch(1);
    bottom->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(top);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(bottom);
    setFixedSize(1281, 585 + MainMenu1->sizeHint().height());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);

    connect(RadioButton1, &QRadioButton::toggled, this, guarded([this](bool on) { if (on) RadioButton1Click(); }));
    connect(RadioButton2, &QRadioButton::toggled, this, guarded([this](bool on) { if (on) RadioButton2Click(); }));
    connect(RadioButton3, &QRadioButton::toggled, this, guarded([this](bool on) { if (on) RadioButton3Click(); }));
    connect(RadioButton4, &QRadioButton::toggled, this, guarded([this](bool on) { if (on) RadioButton4Click(); }));
    connect(CBox1, &QCheckBox::toggled, this, guarded([this] { CBox1Click(); }));
    // The drop-down's closing loads the date (DateTCloseUp); a day chosen in it is loaded even when it
    // is the date already shown.
    QCalendarWidget* calendar = DateT->calendarWidget();
    calendarPopup_ = calendar->window();
    calendarPopup_->installEventFilter(this);
    connect(calendar, &QCalendarWidget::clicked, this, [this] { dayPicked_ = true; });
    connect(calendar, &QCalendarWidget::activated, this, [this] { dayPicked_ = true; });
    connect(DBGrid2, &DataGrid::dblClick, this, guarded([this] { DBGrid2DblClick(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button8, &QPushButton::clicked, this, guarded([this] { Button8Click(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(N5, &QAction::triggered, this, guarded([this] { N5Click(); }));
    connect(Timer1, &QTimer::timeout, this, guarded([this] { Timer1Timer(); }));
    // The version check runs from start-up to the end, whether the journal is shown or not.
    Timer1->start();
}

void TForm1::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [](QAction* a, const char* name) {
        a->setObjectName(QLatin1String(name));
        return a;
    };
    QMenu* books = MainMenu1->addMenu(QStringLiteral("&Справочники"));
    N2 = item(books->menuAction(), "N2");
    N1 = item(books->addAction(QStringLiteral("&Рабочие")), "N1");
    N3 = item(books->addAction(QStringLiteral("&Изделия")), "N3");
    N4 = item(books->addAction(QStringLiteral("&Цены")), "N4");
    N6 = item(books->addAction(QStringLiteral("&Операции")), "N6");
    N8 = item(books->addAction(QStringLiteral("&Внеурочное")), "N8");  // has no action
    N11 = item(MainMenu1->addAction(QStringLiteral("&Табель по времени")), "N11");
    QMenu* reports = MainMenu1->addMenu(QStringLiteral("&Отчеты"));
    N7 = item(reports->menuAction(), "N7");
    N10 = item(reports->addAction(QStringLiteral("&Сводные отчеты")), "N10");
    N12 = item(reports->addAction(QStringLiteral("&Расчетные листки")), "N12");
    N14 = item(reports->addAction(QStringLiteral("&Журнал изменений")), "N14");
    N15 = item(reports->addAction(QStringLiteral("&Пользователи")), "N15");
    N15->setVisible(false);
    N5 = item(MainMenu1->addAction(QStringLiteral("В&ыход")), "N5");
    connect(N1, &QAction::triggered, this, guarded([this] { N1Click(); }));
    connect(N3, &QAction::triggered, this, guarded([this] { N3Click(); }));
    connect(N4, &QAction::triggered, this, guarded([this] { N4Click(); }));
    connect(N6, &QAction::triggered, this, guarded([this] { N6Click(); }));
    connect(N10, &QAction::triggered, this, guarded([this] { N10Click(); }));
    connect(N12, &QAction::triggered, this, guarded([this] { N12Click(); }));
    connect(N14, &QAction::triggered, this, guarded([this] { N14Click(); }));
    connect(N15, &QAction::triggered, this, guarded([this] { N15Click(); }));
    connect(N11, &QAction::triggered, this, guarded([this] { N11Click(); }));
}

void TForm1::buildGrid()
{
    const Qt::Alignment right = Qt::AlignRight;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DBGrid2->setColumns({
        {.field = "fio", .title = QStringLiteral("Фамилия И.О."), .width = 250},
        {.field = "marka", .title = QStringLiteral("Марка изделия"), .width = 260},
        {.field = "vid", .title = QStringLiteral("Операция"), .width = 155},
        {.field = "nmn", .title = QStringLiteral("Вид"), .width = 157},
        {.field = "color", .title = QStringLiteral("Цвет"), .alignment = centre},
        {.field = "time", .title = QStringLiteral("Часы"), .alignment = right},
        {.field = "kol_vo", .title = QStringLiteral("Кол-во"), .width = 57, .alignment = right},
        {.field = "brak", .title = QStringLiteral("Брак"), .width = 49, .alignment = right},
        {.field = "summa", .title = QStringLiteral("Итого (р.)"), .width = 78, .alignment = right},
        {.field = "prize", .title = QStringLiteral("Премия (%)"), .alignment = right, .visible = false},
        {.field = "ok", .title = QStringLiteral("OK"), .width = 37, .alignment = centre},
        {.field = "vvod", .title = QStringLiteral("Заведен"), .width = 72, .alignment = centre},
    });
    DBGrid2->setDrawCellHook([this](CellDraw& cell, DataGrid&) { DBGrid2DrawColumnCell(cell); });

    // The entry's history from the grid's context menu, and by Ctrl+H anywhere in the window.
    N13 = new QAction(QStringLiteral("&История записи"), this);
    N13->setObjectName(QStringLiteral("N13"));
    N13->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    addAction(N13);
    DBGrid2->addAction(N13);
    DBGrid2->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(N13, &QAction::triggered, this, guarded([this] { N13Click(); }));
}

bool TForm1::FormCreate(const QStringList& arguments)
{
    DBGrid2->setDataset(data_.Smena1);
    const DatabaseAddress where = addressForArguments(arguments);
    data_.setPersonalAddress(std::nullopt);
    int version = 0;
    try {
        data_.closeDatabase();
        try {
            data_.openDatabase(connectionStringForArguments(arguments));
        } catch (const DbError& e) {
            // The shared user refused here: people sign in by name.
            if (personal::classify(e.text()) != personal::ConnectFailure::SignInRefused) throw;
            data_.setPersonalAddress(where);
            return true;
        }
        version = store::schemaVersion(data_.session().db);
        if (version >= store::kSchemaVersion && personal::modeOn(data_.session().db)) {
            data_.closeDatabase();
            data_.setPersonalAddress(where);
            return true;
        }
    } catch (...) {
        msg::error(QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        close();
        return false;
    }
    // A database an earlier version prepared lacks what this one writes (the history, closed months):
    // say which command brings it up to date instead of failing at the first write.
    if (version < store::kSchemaVersion) {
        msg::error(store::outdatedSchemaText(version, where.database, where.server), QStringLiteral("Ошибка!"));
        data_.closeDatabase();
        close();
        return false;
    }
    return true;
}

void TForm1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Each showing of the journal starts on today's entries.
    if (!event->spontaneous()) guarded([this] { FormActivate(); })();
}

void TForm1::FormActivate()
{
    const QDate today = QDate::currentDate();
    DateT->setDate(today);
    if (isWeekend(today)) CBox1->setChecked(true);
    loadDate();
}

void TForm1::loadDate()
{
    loadedDate_ = DateT->date();
    const QDateTime day(loadedDate_, QTime(0, 0));
    for (Dataset* ds : data_.journalDatasets()) ds->close();
    for (Dataset* ds : data_.journalDatasets()) {
        ds->setParam(QStringLiteral("data"), day);
        ds->open();
    }
    showMonthState();
}

void TForm1::showMonthState()
{
    const bool closed = store::monthClosure(data_.session().db, loadedDate_.year(), loadedDate_.month()).has_value();
    MonthStateLabel->setText(closed ? QStringLiteral("Месяц %1 закрыт").arg(loadedDate_.toString(QStringLiteral("MM.yyyy")))
                                    : QString());
}

void TForm1::refuseInClosedMonth(const QDate& day)
{
    try {
        store::refuseIfClosed(data_.session().db, day);
    } catch (const DbError& e) {
        if (e.kind() == DbError::Kind::MonthClosed) showMonthState();
        throw;
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // DateTKeyPress: Enter loads the typed date; F4 and Alt+Down open the drop-down, as in a drop-down
    // list; other keys only edit the date.
    if (watched == DateT && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DateT->interpretText();
            guarded([this] { DateTChange(); })();
            return true;
        }
        if (datebox::isCalendarKey(*press)) {
            datebox::openCalendar(DateT);
            return true;
        }
    }
    // However the drop-down closes (a day chosen, Esc, a click outside), it closes over a date. Queued:
    // the box takes the drop-down's last date only as the closing finishes.
    if (watched == calendarPopup_ && event->type() == QEvent::Hide)
        QMetaObject::invokeMethod(this, guarded([this] { DateTCloseUp(); }), Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

void TForm1::DateTCloseUp()
{
    const bool picked = std::exchange(dayPicked_, false);
    if (picked || DateT->date() != loadedDate_) DateTChange();
}

void TForm1::DateTChange()
{
    {
        WaitCursor wait;
        loadDate();
        CBox1->setChecked(isWeekend(DateT->date()));
    }
    DBGrid2->setFocus();
}

void TForm1::CBox1Click()
{
    if (CBox1->isChecked())
        paintControl(CBox1, kRed, true);
    else
        paintControl(CBox1, buttonFace(), false);
}

void TForm1::RadioButton1Click() { selectShift(1); }
void TForm1::RadioButton2Click() { selectShift(2); }
void TForm1::RadioButton3Click() { selectShift(3); }
void TForm1::RadioButton4Click() { selectShift(4); }

void TForm1::selectShift(int shift)
{
    // The shift's dataset is shown as it was loaded; only a reload brings other workstations' entries.
    DBGrid2->setDataset(data_.shiftDataset(shift));
    paintShiftButtons(shift);
    ShiftNumber = shift;
}

void TForm1::paintShiftButtons(int shift)
{
    const QList<QRadioButton*> buttons{RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int i = 0; i < buttons.size(); ++i) {
        const bool current = i + 1 == shift;
        paintControl(buttons[i], current ? kGreen : buttonFace(), current);
    }
}

void TForm1::DBGrid2DrawColumnCell(CellDraw& cell)
{
    if (cell.field.compare(QLatin1String("ok"), Qt::CaseInsensitive) != 0) return;
    cell.font.setBold(true);
    cell.textColor = isAccepted(DBGrid2->rowValue(cell.row, QStringLiteral("ok")).toString()) ? kGreen : kRed;
    cell.fillBackground = true;
}

void TForm1::DBGrid2DblClick()
{
    // The role table says who accepts entries (shift foremen enter them; accepting is for others).
    if (!store::can(data_.actor().role, store::Action::AcceptEntry)) return;
    ShiftDataset = data_.shiftDataset(ShiftNumber);
    if (ShiftDataset->isEmpty()) return;
    refuseInClosedMonth(ShiftDataset->fieldByName(QStringLiteral("data")).asDate());
    const bool accepted = isAccepted(ShiftDataset->fieldByName(QStringLiteral("ok")).asString());
    store::setAcceptance(data_.session(), ShiftDataset->fieldByName(QStringLiteral("id")).asInteger(), !accepted);
    reopenAtSameRecord(*ShiftDataset);
}

void TForm1::Button1Click()
{
    refuseInClosedMonth(DateT->date());
    ShiftDataset = data_.shiftDataset(ShiftNumber);
    Form11->presetForAdd(entryContext());
    Form11->exec();
}

void TForm1::Button2Click()
{
    ShiftDataset = data_.shiftDataset(ShiftNumber);
    const int recNo = ShiftDataset->recNo();
    if (ShiftDataset->isEmpty()) return;
    refuseInClosedMonth(ShiftDataset->fieldByName(QStringLiteral("data")).asDate());
    Form11->presetForChange(entryContext(), entryRowOf(*ShiftDataset));
    Form11->exec();
    if (!programend::requested()) ShiftDataset->setRecNo(recNo);
}

EntryContext TForm1::entryContext() const
{
    return EntryContext{ShiftNumber, CBox1->isChecked(), DateT->date(), this};
}

void TForm1::Button3Click()
{
    Dataset* shift = data_.shiftDataset(ShiftNumber);
    if (!shift->isOpen() || shift->isEmpty()) return;
    const int id = shift->fieldByName(QStringLiteral("id")).asInteger();
    refuseInClosedMonth(shift->fieldByName(QStringLiteral("data")).asDate());
    const bool yes = msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить позицию из списка?"));
    // The program may have been told to end while the question was open: then nothing is deleted.
    if (programend::requested()) return;
    if (yes) store::deleteEntry(data_.session(), id);
    shift->close();
    shift->open();
}

void TForm1::Button8Click()
{
    WaitCursor wait;
    for (Dataset* ds : data_.journalDatasets()) ds->close();
    for (Dataset* ds : data_.journalDatasets()) ds->open();
    showMonthState();
}

void TForm1::Button4Click()
{
    close();
}

// The reference books open in managing mode over their shared datasets.
void TForm1::N1Click()
{
    openBookForManaging(Form5, data_.Workers);
}

void TForm1::N3Click()
{
    openBookForManaging(Form3, data_.Izdel);
}

void TForm1::N4Click()
{
    openBookForManaging(Form4, data_.Oper);
}

void TForm1::N6Click()
{
    openBookForManaging(Form8, data_.Vid_oper);
}

void TForm1::N11Click()
{
    openTimeSheet(*Form19, DateT->date());
    // The month may have been closed or opened there.
    showMonthState();
}

void TForm1::N10Click()
{
    openReportsWindow(*Form18, QDate::currentDate());
}

void TForm1::N12Click()
{
    openPayStatements(*Form24, QDate::currentDate());
}

void TForm1::N15Click()
{
    if (!store::can(data_.actor().role, store::Action::ManagePeople) || !data_.personalAddress()) return;
    Form27->exec();
}

void TForm1::N14Click()
{
    if (!store::can(data_.actor().role, store::Action::ViewHistory)) return;
    openChangesWindow(*Form26, QDate::currentDate());
}

void TForm1::N13Click()
{
    if (!store::can(data_.actor().role, store::Action::ViewHistory)) return;
    Dataset* shift = data_.shiftDataset(ShiftNumber);
    EntryHistoryContext context{0, QString(), DateT->date(), ShiftNumber, this};
    if (shift->isOpen() && !shift->isEmpty()) {
        context.entryId = shift->fieldByName(QStringLiteral("id")).asInteger();
        context.entryText = QStringList{shift->fieldByName(QStringLiteral("fio")).asString(),
                                        shift->fieldByName(QStringLiteral("marka")).asString(),
                                        shift->fieldByName(QStringLiteral("vid")).asString()}
                                .join(QStringLiteral(", "));
    }
    Form25->presetFor(context);
    Form25->exec();
    // A restored entry is back in the journal of its date.
    if (Form25->restored() && !programend::requested()) Button8Click();
}

void TForm1::N5Click()
{
    close();
}

void TForm1::Timer1Timer()
{
    // The check runs every 30 seconds, whether anyone works or not: while the server cannot be reached it
    // stays quiet, and the user hears of the lost connection from their own next action. Once the connection
    // is found lost, connecting again is left to that action: through a line that went silent each try
    // would hold the window for the whole login timeout, every 30 seconds.
    if (connectionMarkedLost(TDataModule6::kConnection)) return;
    try {
        checkVersion();
    } catch (const DbError& e) {
        if (e.kind() != DbError::Kind::ConnectionLost) throw;
    }
}
