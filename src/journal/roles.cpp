#include "journal/roles.h"

#include "journal/instances.h"
#include "reports/reports_window.h"
#include <QAction>
#include <QApplication>
#include <QWidget>

namespace {

using store::Action;

// Which control of which window stands for which action; store::can decides per role.
constexpr RoleControl kRoleControls[] = {
    {"Form1", "Button1", Action::AddEntry},         // "Добавить"
    {"Form1", "Button2", Action::ChangeEntry},      // "Изменить"
    {"Form1", "Button3", Action::DeleteEntry},      // "Удалить"
    {"Form1", "RadioButton1", Action::ChooseShift}, // shifts
    {"Form1", "RadioButton2", Action::ChooseShift},
    {"Form1", "RadioButton3", Action::ChooseShift},
    {"Form1", "RadioButton4", Action::ChooseShift},
    {"Form1", "CBox1", Action::MarkDayOff},         // "Выходной"
    {"Form1", "Button8", Action::RefreshJournal},   // "Обновить"
    {"Form1", "DBGrid2", Action::BrowseJournal},    // the journal grid
    {"Form1", "DateT", Action::ChooseDate},         // the journal date
    {"Form1", "N2", Action::ManageBooks},           // menu "Справочники"
    {"Form1", "N11", Action::TimeSheet},            // menu "Табель по времени"
    {"Form1", "N12", Action::PayStatements, true},  // menu "Расчетные листки": not shown to other roles
    {"Form19", "CloseMonthButton", Action::CloseMonth},  // time sheet "Закрыть месяц" / "Открыть месяц"
    {"Form1", "N14", Action::ViewHistory, true},    // menu "Журнал изменений": not even shown to the others
    {"Form1", "N13", Action::ViewHistory},          // "История записи", Ctrl+H
    // Form25's "Восстановить" (RestoreEntry) is not listed: it also needs a deletion chosen, so the window
    // enables it itself.
    {"Form18", "Button1", Action::ReportWorkersDetail},  // "Детальный отчет по рабочим"
    {"Form18", "Button2", Action::ReportProducts},       // "Отчет по продукции"
    {"Form18", "Button4", Action::ReportWorkers},        // "Отчет по рабочим"
    {"Form18", "Button6", Action::ExportOutput},         // spreadsheet export
    {"Form18", "RadioGroup1", Action::ChooseProductKind},  // "Вид продукции"
};

// Windows are found by name, so rows of a window that does not exist (yet) change nothing.
QWidget* windowNamed(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

void disable(QWidget* window, const QString& control, bool hide)
{
    QObject* o = window->findChild<QObject*>(control);
    if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setEnabled(false);
        if (hide) w->setVisible(false);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setEnabled(false);
        if (hide) a->setVisible(false);
    }
}

// A role that may not choose the product kind prints finished products only.
void applyReportRestrictions(Role role)
{
    if (!store::can(role, Action::ChooseProductKind) && Form18) fixProductKindForDepot(*Form18);
}

}  // namespace

QString signInWord(const QString& typed)
{
    qsizetype begin = 0;
    qsizetype end = typed.size();
    while (begin < end && typed.at(begin).unicode() <= u' ') ++begin;
    while (end > begin && typed.at(end - 1).unicode() <= u' ') --end;
    return typed.mid(begin, end - begin);
}

Role roleOfWord(const QString& word)
{
    if (word == QLatin1String("bursar")) return Role::Bursar;
    if (word == QLatin1String("foreman")) return Role::Foreman;
    if (word == QLatin1String("depot")) return Role::Depot;
    if (word == QLatin1String("61730428") || word == QLatin1String("8629")) return Role::Full;
    return Role::None;
}

std::span<const RoleControl> roleControls()
{
    return kRoleControls;
}

void applyRestrictions(Role role)
{
    applyReportRestrictions(role);
    for (const RoleControl& r : kRoleControls) {
        if (store::can(role, r.action)) continue;
        if (QWidget* window = windowNamed(QLatin1String(r.window))) disable(window, QLatin1String(r.control), r.hidden);
    }
}
