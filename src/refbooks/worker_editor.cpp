#include "refbooks/worker_editor.h"

#include "core/command.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "refbooks/lookup_box.h"
#include "core/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

namespace {

Dataset* lookupTable(QObject* owner, const char* name, const QString& table)
{
    auto* ds = new Dataset(QLatin1String(name), owner);
    ds->setConnectionName(TDataModule6::kConnection);
    ds->setSql({QStringLiteral("select * from ") + table});
    return ds;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : BookEditor(QStringLiteral("Работники"), QStringLiteral("Данные о работнике"), parent)
{
    setObjectName(QStringLiteral("Form2"));
    Edit1 = addLineEdit("Edit1", QStringLiteral("&ФИО"), 358);
    LCB_department = new LookupBox(this);
    LCB_department->setObjectName(QStringLiteral("LCB_department"));
    addRow(QStringLiteral("&Подразделение"), LCB_department);
    LCB_staffpos = new LookupBox(this);
    LCB_staffpos->setObjectName(QStringLiteral("LCB_staffpos"));
    addRow(QStringLiteral("&Должность"), LCB_staffpos);
    LCB_roles = new LookupBox(this);
    LCB_roles->setObjectName(QStringLiteral("LCB_roles"));
    addRow(QStringLiteral("&Роль"), LCB_roles);
    setTabOrder(Edit1, LCB_staffpos);
    setTabOrder(LCB_staffpos, LCB_department);
    setTabOrder(LCB_department, LCB_roles);
    setTabOrder(LCB_roles, Button1);

    cmd_person = new Command(QStringLiteral("cmd_person"), this);
    cmd_person->setConnectionName(TDataModule6::kConnection);
    roles = lookupTable(this, "roles", QStringLiteral("adm_role.roles"));
    staffpos = lookupTable(this, "staffpos", QStringLiteral("hrms_staffpos.staffpos"));
    department = lookupTable(this, "department", QStringLiteral("cmn_department.department"));

    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

void TForm2::reopenLookups()
{
    for (Dataset* t : {staffpos, roles, department}) {
        t->close();
        t->open();
    }
    LCB_staffpos->fill(staffpos);
    LCB_roles->fill(roles);
    LCB_department->fill(department);
}

void TForm2::showDepartment(const QString& caption)
{
    LCB_department->setCurrentIndex(LCB_department->findText(caption, Qt::MatchExactly));
}

void TForm2::Button1Click()
{
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        msg::error(QStringLiteral("ФИО нужно заполнить!"));
        return;
    }
    // Changing a worker without choosing a department keeps the one stored, rather than wiping it.
    QString dept = LCB_department->currentIndex() >= 0 ? LCB_department->currentText() : QString();
    if (LCB_department->currentIndex() < 0 && Tag != 1) dept = PersonDepartment;
    if (Tag == 1) {
        cmd_person->setText(QStringLiteral("INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES(:fio, :dept)"));
    } else {
        cmd_person->setText(QStringLiteral("UPDATE accounts_dep.person SET fio=:fio, s_staffpos_hl=:dept where accounts_dep.person.id=")
                            + QString::number(PersonId));
    }
    // Typed texts go in as bound values: a quote in a name is stored as typed. An empty caption is ''.
    cmd_person->setParam(QStringLiteral("fio"), name);
    cmd_person->setParam(QStringLiteral("dept"), dept.isNull() ? QStringLiteral("") : dept);
    cmd_person->execute();
    accept();
}

bool TForm2::eventFilter(QObject* watched, QEvent* e)
{
    // The wheel steps the focused lookup box by one entry, wherever the mouse is over the editor.
    if (e->type() == QEvent::Wheel) {
        if (auto* box = qobject_cast<LookupBox*>(focusWidget())) {
            const int dy = static_cast<QWheelEvent*>(e)->angleDelta().y();
            if (dy != 0) box->step(dy < 0 ? 1 : -1);
            return true;
        }
    }
    return BookEditor::eventFilter(watched, e);
}
