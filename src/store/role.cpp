#include "store/role.h"

namespace store {
namespace {

struct Row {
    Action action;
    bool bursar;
    bool foreman;
    bool depot;
    const char* name;
};

// true = allowed. Full access is allowed everything and is not listed.
constexpr Row kTable[] = {
    {Action::AddEntry, false, true, false, "добавление записи журнала"},
    {Action::ChangeEntry, false, false, false, "изменение записи журнала"},
    {Action::DeleteEntry, false, false, false, "удаление записи журнала"},
    // The foreman's double click does nothing; the accounts office cannot reach the grid.
    {Action::AcceptEntry, false, false, true, "отметка о приемке"},
    {Action::ChooseShift, false, true, true, "выбор смены"},
    {Action::MarkDayOff, false, true, true, "отметка выходного дня"},
    {Action::RefreshJournal, false, true, true, "обновление журнала"},
    {Action::BrowseJournal, false, true, true, "работа с журналом"},
    {Action::ChooseDate, false, true, true, "выбор даты"},
    {Action::ManageBooks, false, false, false, "изменение справочников"},
    {Action::TimeSheet, false, false, false, "работа с табелем"},
    {Action::ReportWorkersDetail, true, false, false, "детальный отчет по рабочим"},
    {Action::ReportProducts, true, false, false, "отчет по продукции"},
    {Action::ReportWorkers, true, false, false, "отчет по рабочим"},
    {Action::ExportOutput, true, false, false, "выгрузка в Excel"},
    {Action::ChooseProductKind, true, true, false, "выбор вида продукции"},
    {Action::ReportProductsDetail, true, true, true, "детальный отчет по продукции"},
    {Action::PayStatements, true, false, false, "расчетные листки"},
    {Action::StampVersion, true, true, true, "отметка версии программы"},
    {Action::CloseMonth, false, false, false, "закрытие и открытие месяца"},
    {Action::ViewHistory, true, false, false, "просмотр истории изменений"},
    {Action::RestoreEntry, false, false, false, "восстановление удаленной записи"},
    {Action::ManagePeople, false, false, false, "управление пользователями"},
};

const Row& rowOf(Action action)
{
    for (const Row& r : kTable)
        if (r.action == action) return r;
    return kTable[0];  // every action has its row; unreachable
}

}  // namespace

bool can(Role role, Action action)
{
    const Row& r = rowOf(action);
    switch (role) {
    case Role::Full: return true;
    case Role::Bursar: return r.bursar;
    case Role::Foreman: return r.foreman;
    case Role::Depot: return r.depot;
    case Role::None: return action == Action::StampVersion;
    }
    return false;
}

QString roleWord(Role role)
{
    switch (role) {
    case Role::Bursar: return QStringLiteral("bursar");
    case Role::Foreman: return QStringLiteral("foreman");
    case Role::Depot: return QStringLiteral("depot");
    case Role::Full: return QStringLiteral("full");
    case Role::None: break;
    }
    return QString();
}

QString roleName(Role role)
{
    switch (role) {
    case Role::Bursar: return QStringLiteral("Бухгалтерия");
    case Role::Foreman: return QStringLiteral("Мастер смены");
    case Role::Depot: return QStringLiteral("Склад");
    case Role::Full: return QStringLiteral("Полный доступ");
    case Role::None: break;
    }
    return QStringLiteral("Вход не выполнен");
}

QString actionName(Action action)
{
    return QString::fromUtf8(rowOf(action).name);
}

}  // namespace store
