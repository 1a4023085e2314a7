#include "refbooks/kind_editor.h"

#include "refbooks/book_rows.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/instances.h"
#include "core/messages.h"

#include <QLineEdit>

TForm9::TForm9(QWidget* parent) : BookEditor(QStringLiteral("Вид операции"), QStringLiteral("Вид операции"), parent)
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
    Dataset* kinds = DataModule6->Vid_oper;
    const bool adding = Tag == 1;
    std::optional<qint64> self;
    if (!adding) self = kinds->fieldByName(QStringLiteral("id")).asLargeInt();
    if (DataModule6->CheckDuplicate(sameNameCount(QStringLiteral("vid_oper"), QStringLiteral("vid"), name, self),
                                    QStringLiteral("Такая операция уже заведена!")))
        return;
    storeRow(kinds, adding, [&] { kinds->fieldByName(QStringLiteral("vid")).setString(name); });
    accept();
}
