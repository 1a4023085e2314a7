#include "refbooks/kind_editor.h"

#include "store/books_store.h"
#include "refbooks/book_rows.h"
#include "core/data_module.h"
#include "core/messages.h"
#include "store/sql_text.h"

#include <QLineEdit>

TForm9::TForm9(TDataModule6& data, QWidget* parent) : BookEditor(QStringLiteral("Вид операции"), QStringLiteral("Вид операции"), data, parent)
{
    setObjectName(QStringLiteral("Form9"));
    Edit1 = addLineEdit("Edit1", QStringLiteral("&Операция"), 337);
}

void TForm9::Button1Click()
{
    const QString name = Edit1->text().trimmed();
    if (name.isEmpty()) {
        msg::error(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    sqltext::checkTypedText(name);
    const store::Answer outcome = Tag == 1 ? store::Answer{store::addKind(data_.session(), name), {}}
                                           : store::changeKind(data_.session(), AsRead, name);
    if (closedAsStale(outcome, data_.Vid_oper)) return;
    if (outcome == store::Outcome::Duplicate) {
        msg::error(QStringLiteral("Такая операция уже заведена!"));
        return;
    }
    reopen(data_.Vid_oper);
    accept();
}

void TForm9::presetForAdd()
{
    Edit1->clear();
    setWindowTitle(QStringLiteral("Заведение нового вида операций"));
    Tag = 1;
    KindId = 0;
}

void TForm9::presetForChange(int id, const QString& name, const store::RowAsRead& asRead)
{
    AsRead = asRead;
    AsRead.id = id;
    setWindowTitle(QStringLiteral("Изменение данных вида операции"));
    Tag = 2;
    KindId = id;
    Edit1->setText(name);
}
