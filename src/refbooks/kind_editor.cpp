#include "refbooks/kind_editor.h"

#include "store/books_store.h"
#include "refbooks/book_rows.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "refbooks/book_instances.h"
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
    Dataset* kinds = data_.Vid_oper;
    const bool adding = Tag == 1;
    std::optional<qint64> self;
    if (!adding) self = kinds->fieldByName(QStringLiteral("id")).asLargeInt();
    if (data_.CheckDuplicate(store::bookssql::sameNameCount(QStringLiteral("vid_oper"), QStringLiteral("vid"), name, self),
                                    QStringLiteral("Такая операция уже заведена!")))
        return;
    storeRow(kinds, adding, [&] { kinds->fieldByName(QStringLiteral("vid")).setString(name); });
    accept();
}
