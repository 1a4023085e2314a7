#include "journal/roles.h"

#include "journal/instances.h"
#include "reports/reports_window.h"
#include <QAction>
#include <QApplication>
#include <QWidget>

namespace {

struct Restriction {
    const char* window;
    const char* control;
    bool bursar;
    bool foreman;
    bool depot;
};

// The whole role table: which control of which window each role disables. Full access disables nothing.
constexpr Restriction kRoleTable[] = {
    {"Form1", "Button1", true, false, true},        // "Добавить"
    {"Form1", "Button2", true, true, true},         // "Изменить"
    {"Form1", "Button3", true, true, true},         // "Удалить"
    {"Form1", "RadioButton1", true, false, false},  // shifts
    {"Form1", "RadioButton2", true, false, false},
    {"Form1", "RadioButton3", true, false, false},
    {"Form1", "RadioButton4", true, false, false},
    {"Form1", "CBox1", true, false, false},         // "Выходной"
    {"Form1", "Button8", true, false, false},       // "Обновить"
    {"Form1", "DBGrid2", true, false, false},       // the journal grid
    {"Form1", "DateT", true, false, false},         // the journal date
    {"Form1", "N2", true, true, true},              // menu "Справочники"
    {"Form1", "N11", true, true, true},             // menu "Табель по времени"
    {"Form18", "Button1", false, true, true},       // "Детальный отчет по рабочим"
    {"Form18", "Button2", false, true, true},       // "Отчет по продукции"
    {"Form18", "Button4", false, true, true},       // "Отчет по рабочим"
    {"Form18", "Button6", false, true, true},       // spreadsheet export
    {"Form18", "RadioGroup1", false, false, true},  // "Вид продукции"
};

bool restricts(const Restriction& r, Role role)
{
    switch (role) {
    case Role::Bursar: return r.bursar;
    case Role::Foreman: return r.foreman;
    case Role::Depot: return r.depot;
    case Role::None:
    case Role::Full: return false;
    }
    return false;
}

// Windows are found by name, so rows of a window that does not exist (yet) change nothing.
QWidget* windowNamed(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

void disable(QWidget* window, const QString& control)
{
    QObject* o = window->findChild<QObject*>(control);
    if (auto* w = qobject_cast<QWidget*>(o))
        w->setEnabled(false);
    else if (auto* a = qobject_cast<QAction*>(o))
        a->setEnabled(false);
}

// The reports window's product kind: "depot" prints finished products only.
void applyReportRestrictions(Role role)
{
    if (role == Role::Depot && Form18) fixProductKindForDepot(*Form18);
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

void applyRestrictions(Role role)
{
    applyReportRestrictions(role);
    for (const Restriction& r : kRoleTable) {
        if (!restricts(r, role)) continue;
        if (QWidget* window = windowNamed(QLatin1String(r.window))) disable(window, QLatin1String(r.control));
    }
}
