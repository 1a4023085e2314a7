#pragma once
#include <QString>

// What a signed-in user may do. The windows read can() to enable their controls; the store's verbs read
// it to refuse, before anything is written, what the actor's role may not do, whichever window asked.
namespace store {

enum class Role { None, Bursar, Foreman, Depot, Full };

// Every action the role table decides, one per restricted control, and the writes behind them.
enum class Action {
    AddEntry,           // journal "Добавить", and saving a new entry
    ChangeEntry,        // journal "Изменить", and saving a changed entry
    DeleteEntry,        // journal "Удалить"
    AcceptEntry,        // the journal's double click: the acceptance mark
    ChooseShift,        // the journal's shift buttons
    MarkDayOff,         // the journal's "Выходной"
    RefreshJournal,     // the journal's "Обновить"
    BrowseJournal,      // the journal's grid
    ChooseDate,         // the journal's date
    ManageBooks,        // menu "Справочники" and every write of the reference books
    TimeSheet,          // menu "Табель по времени" and the month's rebuild
    ReportWorkersDetail,   // reports "Детальный отчет по рабочим"
    ReportProducts,        // reports "Отчет по продукции"
    ReportWorkers,         // reports "Отчет по рабочим"
    ExportOutput,          // reports "Excel (0 из 0)"
    ChooseProductKind,     // reports "Вид продукции" (the warehouse's is fixed on finished products)
    ReportProductsDetail,  // reports "Детальный отчет по продукции"
    PayStatements,         // menu "Расчетные листки": the pay statements and the pay for payroll
    StampVersion,          // the version gate raising the build stamp: every program, signed in or not
    CloseMonth,            // time sheet "Закрыть месяц" / "Открыть месяц"
    ViewHistory,           // "История записи" and "Журнал изменений"
    RestoreEntry,          // restoring a deleted entry from its history
    ManagePeople,          // "Пользователи": the people who sign in by name, their roles and passwords
};

// The role table: whether `role` may take `action`. Full access may do everything; None (nobody signed in
// yet) only stamps the version.
bool can(Role role, Action action);

// The sign-in word of a role ("bursar", "foreman", "depot", "full"; empty for None), as the database is told.
QString roleWord(Role role);
// The role in the program's words, for messages ("Бухгалтерия", ...).
QString roleName(Role role);
// What the action is, in the program's words, for the refusal message ("удаление записи журнала", ...).
QString actionName(Action action);

}  // namespace store
