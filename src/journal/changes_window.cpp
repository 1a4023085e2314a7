#include "journal/changes_window.h"

#include "core/data_module.h"
#include "core/date_box.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "core/wait_cursor.h"
#include "core/history_text.h"
#include "reports/report_period.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kSheet = 1;

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

const QStringList& columnTitles()
{
    static const QStringList titles{QStringLiteral("Когда"),         QStringLiteral("Таблица"),       QStringLiteral("Запись"),
                                    QStringLiteral("Действие"),      QStringLiteral("Изменения"),     QStringLiteral("Пользователь БД"),
                                    QStringLiteral("Кто"),           QStringLiteral("Роль"),          QStringLiteral("Рабочее место"),
                                    QStringLiteral("Адрес"),         QStringLiteral("Программа")};
    return titles;
}

}  // namespace

TForm26::TForm26(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form26"));
    setWindowTitle(QStringLiteral("Журнал изменений"));

    GroupBox1 = new QGroupBox(QStringLiteral("Период"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto datePicker = [this](const char* name) {
        auto* picker = new QDateEdit(GroupBox1);
        picker->setObjectName(QLatin1String(name));
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        picker->setCalendarPopup(true);
        datebox::openCalendarFromKeyboard(picker);
        return picker;
    };
    DateFrom = datePicker("DateFrom");
    DateTo = datePicker("DateTo");
    auto* fromLabel = new QLabel(QStringLiteral("&с"), GroupBox1);
    fromLabel->setBuddy(DateFrom);
    auto* toLabel = new QLabel(QStringLiteral("&по"), GroupBox1);
    toLabel->setBuddy(DateTo);
    auto* dates = new QHBoxLayout(GroupBox1);
    dates->addWidget(fromLabel);
    dates->addWidget(DateFrom);
    dates->addWidget(toLabel);
    dates->addWidget(DateTo);

    TableBox = new QComboBox(this);
    TableBox->setObjectName(QStringLiteral("TableBox"));
    TableBox->addItem(QStringLiteral("Все"), QString());
    for (const QString& table : store::reads::historyTables()) TableBox->addItem(historytext::tableName(table), table);
    auto* tableLabel = new QLabel(QStringLiteral("&Таблица:"), this);
    tableLabel->setBuddy(TableBox);
    ActorEdit = new QLineEdit(this);
    ActorEdit->setObjectName(QStringLiteral("ActorEdit"));
    auto* actorLabel = new QLabel(QStringLiteral("&Кто:"), this);
    actorLabel->setBuddy(ActorEdit);
    WorkstationEdit = new QLineEdit(this);
    WorkstationEdit->setObjectName(QStringLiteral("WorkstationEdit"));
    auto* workstationLabel = new QLabel(QStringLiteral("&Рабочее место:"), this);
    workstationLabel->setBuddy(WorkstationEdit);
    ShowButton = makeButton(QStringLiteral("Пока&зать"), "ShowButton", this);
    // Enter in any box shows what it asks for.
    ShowButton->setDefault(true);

    ChangesGrid = new QTableWidget(0, ColumnCount, this);
    ChangesGrid->setObjectName(QStringLiteral("ChangesGrid"));
    ChangesGrid->setAccessibleName(QStringLiteral("Изменения"));
    ChangesGrid->setHorizontalHeaderLabels(columnTitles());
    ChangesGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChangesGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChangesGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ChangesGrid->setWordWrap(false);
    ChangesGrid->verticalHeader()->hide();
    ChangesGrid->verticalHeader()->setDefaultSectionSize(ChangesGrid->fontMetrics().height() + 6);
    const int widths[ColumnCount] = {145, 80, 60, 130, 380, 125, 80, 120, 120, 90, 90};
    for (int c = 0; c < ColumnCount; ++c) ChangesGrid->setColumnWidth(c, widths[c]);

    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    MoreButton = makeButton(QStringLiteral("&Еще"), "MoreButton", this);
    MoreButton->setEnabled(false);
    ExcelButton = makeButton(QStringLiteral("E&xcel"), "ExcelButton", this);
    ExitButton = makeButton(QStringLiteral("&Выход"), "ExitButton", this);

    auto* filters = new QHBoxLayout;
    filters->addWidget(GroupBox1);
    filters->addWidget(tableLabel);
    filters->addWidget(TableBox);
    filters->addWidget(actorLabel);
    filters->addWidget(ActorEdit);
    filters->addWidget(workstationLabel);
    filters->addWidget(WorkstationEdit);
    filters->addWidget(ShowButton);
    filters->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CountLabel);
    bottom->addWidget(MoreButton);
    bottom->addStretch(1);
    bottom->addWidget(ExcelButton);
    bottom->addWidget(ExitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(ChangesGrid, 1);
    layout->addLayout(bottom);
    resize(1280, 600);

    connect(ShowButton, &QPushButton::clicked, this, guarded([this] { ShowButtonClick(); }));
    connect(MoreButton, &QPushButton::clicked, this, guarded([this] { MoreButtonClick(); }));
    connect(ExcelButton, &QPushButton::clicked, this, guarded([this] { ExcelButtonClick(); }));
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm26::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    QWidget* opener = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (opener && opener != this && opener->isVisible()) move(opener->frameGeometry().center() - rect().center());
}

store::reads::ChangeFilter TForm26::filter() const
{
    return {DateFrom->date(), DateTo->date(), TableBox->currentData().toString(), ActorEdit->text().trimmed(),
            WorkstationEdit->text().trimmed()};
}

void TForm26::ShowButtonClick()
{
    const store::reads::ChangeFilter f = filter();
    if (f.to < f.from) {
        msg::error(kReversedPeriodText);
        return;
    }
    WaitCursor waiting;
    ChangesGrid->setRowCount(0);
    shown_ = f;
    append(store::reads::changes(data_.session().db, shown_, PageSize));
}

void TForm26::MoreButtonClick()
{
    if (!more_) return;
    WaitCursor waiting;
    append(store::reads::changes(data_.session().db, shown_, PageSize, &last_));
}

void TForm26::append(const store::reads::ChangesPage& page)
{
    for (const store::reads::HistoryVersion& v : page.rows) {
        const int line = ChangesGrid->rowCount();
        ChangesGrid->insertRow(line);
        QStringList texts(ColumnCount);
        texts[When] = historytext::momentText(v.at);
        texts[Table] = historytext::tableName(v.table);
        texts[Row] = historytext::rowText(v);
        texts[Operation] = historytext::operationName(v.op);
        texts[Changes] = historytext::changeSummary(v);
        texts[DbUser] = v.dbUser;
        texts[Actor] = v.actor;
        texts[Role] = historytext::roleName(v.role);
        texts[Workstation] = v.workstation;
        texts[Address] = v.address;
        texts[Application] = v.application;
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c == Changes) item->setToolTip(texts[c]);
            ChangesGrid->setItem(line, c, item);
        }
    }
    if (!page.rows.empty()) last_ = page.rows.back();
    more_ = page.more;
    MoreButton->setEnabled(more_);
    const int shown = ChangesGrid->rowCount();
    CountLabel->setText(more_ ? QStringLiteral("Показано изменений: %1, есть более ранние").arg(shown)
                              : QStringLiteral("Показано изменений: %1").arg(shown));
}

void TForm26::ExcelButtonClick()
{
    WaitCursor waiting;
    Spreadsheet book(WorkbookOpener, WorkbookFolder);
    if (book.OpenWorkbook(QString()) == -1) return;
    book.WriteCellStyled(kSheet, 1, 1,
                         QStringLiteral("Журнал изменений с %1 по %2")
                             .arg(shown_.from.toString(QStringLiteral("dd.MM.yyyy")), shown_.to.toString(QStringLiteral("dd.MM.yyyy"))),
                         true, false, true);
    for (int c = 0; c < ColumnCount; ++c) book.WriteCellStyled(kSheet, c + 1, 2, columnTitles()[c], true, true, true);
    // Every cell as text: a row number or a workstation stays as the window shows it.
    for (int line = 0; line < ChangesGrid->rowCount(); ++line)
        for (int c = 0; c < ColumnCount; ++c)
            if (const QTableWidgetItem* item = ChangesGrid->item(line, c))
                book.WriteCellStyled(kSheet, c + 1, line + 3, item->text(), true, c != Changes, false);
    book.ShowSpreadsheet(true);
}

void openChangesWindow(TForm26& window, const QDate& today)
{
    window.DateFrom->setDate(QDate(today.year(), today.month(), 1));
    window.DateTo->setDate(QDate(today.year(), today.month(), today.daysInMonth()));
    window.ShowButtonClick();
    window.exec();
}
