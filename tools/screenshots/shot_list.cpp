#include "screenshots/shot_list.h"

// A window the program does not have (yet) is left out of a run, and the guide keeps a note in its
// place; a new window needs one line here and a picture place in docs/guide.md.
const std::vector<Shot>& guideShots()
{
    static const std::vector<Shot> shots = {
        {"signin", "Form23", "Авторизация", {}},
        {"journal", "Form1", "Табель: журнал смены", {"Form23/Edit1=8629", "Form23/Button1"}},
        {"entry-new", "Form11", "Новая запись журнала", {"Form1/Button1"}},
        {"entry-pick-worker", "Form5", "Выбор рабочего для записи", {"Form1/Button1", "Form11/Button3"}},
        {"entry-pick-operation", "Form4", "Выбор операции для записи", {"Form1/Button1", "Form11/Button4"}},
        {"entry-change", "Form11", "Изменение записи журнала", {"Form1/Button2"}},
        {"workers", "Form5", "Справочник рабочих", {"Form1/N1"}},
        {"worker", "Form2", "Карточка рабочего", {"Form1/N1", "Form5/Button2"}},
        {"products", "Form3", "Справочник изделий", {"Form1/N3"}},
        {"product", "Form7", "Карточка изделия", {"Form1/N3", "Form3/DBGrid1"}},
        {"kinds", "Form8", "Виды операций", {"Form1/N6"}},
        {"kind", "Form9", "Вид операции", {"Form1/N6", "Form8/Button2"}},
        {"operations", "Form4", "Операции и цены", {"Form1/N4"}},
        {"operation", "Form10", "Цена операции", {"Form1/N4", "Form4/Button2"}},
        // Leaves the operations book's "Цены" box ticked: keep it after the other pictures of that book.
        {"norms", "Form22", "Норматив операции", {"Form1/N4", "Form4/CheckBox1", "Form4/DBGrid1"}},
        {"timesheet", "Form19", "Табель по времени", {"Form1/N11"}},
        {"reports", "Form18", "Отчеты", {"Form1/N10"}},
        {"report-workers", "reportPreview", "Отчет по рабочим", {"Form1/N10", "Form18/Button4"}, true},
        {"pay-statements", "Form24", "Расчетные листки", {"Form1/N12"}},
        {"history-entry", "Form25", "История записи", {"Form1/N13"}},
        {"changes", "Form26", "Журнал изменений", {"Form1/N14"}},
    };
    return shots;
}
