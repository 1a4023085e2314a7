#include "refbooks/worker_editor.h"

#include "store/books_store.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "refbooks/lookup_box.h"
#include "core/messages.h"
#include "store/reads/books.h"
#include "store/sql_text.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>

namespace {

Dataset* lookupTable(QObject* owner, const store::Read& read)
{
    auto* ds = new Dataset(read, owner);
    ds->setConnectionName(TDataModule6::kConnection);
    return ds;
}

}  // namespace

TForm2::TForm2(TDataModule6& data, QWidget* parent) : BookEditor(QStringLiteral("Работники"), QStringLiteral("Данные о работнике"), data, parent)
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

    roles = lookupTable(this, store::reads::roles());
    staffpos = lookupTable(this, store::reads::staffPositions());
    department = lookupTable(this, store::reads::departments());

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

void TForm2::presetForAdd()
{
    Edit1->clear();
    setWindowTitle(QStringLiteral("Заведение данных нового работника"));
    Tag = 1;
    reopenLookups();
}

void TForm2::presetForChange(const WorkerRow& row)
{
    setWindowTitle(QStringLiteral("Изменение данных работника"));
    Tag = 2;
    reopenLookups();
    Edit1->setText(row.name);
    PersonId = row.id;
    PersonDepartment = row.department;
    AsRead = row.asRead;
    AsRead.id = row.id;
    showDepartment(PersonDepartment);
}

void TForm2::Button1Click()
{
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        msg::error(QStringLiteral("ФИО нужно заполнить!"));
        return;
    }
    sqltext::checkTypedText(name);
    // Changing a worker without choosing a department keeps the one stored, rather than wiping it.
    QString dept = LCB_department->currentIndex() >= 0 ? LCB_department->currentText() : QString();
    if (LCB_department->currentIndex() < 0 && Tag != 1) dept = PersonDepartment;
    if (Tag == 1)
        store::addWorker(data_.session(), name, dept);
    else if (closedAsStale(store::changeWorker(data_.session(), AsRead, name, dept), data_.Workers))
        return;
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
