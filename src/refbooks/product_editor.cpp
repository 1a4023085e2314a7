#include "refbooks/product_editor.h"

#include "store/books_store.h"
#include "refbooks/book_rows.h"
#include "core/data_module.h"
#include "core/field_value.h"
#include "core/messages.h"
#include "store/sql_text.h"
#include "refbooks/product_group.h"

#include <QKeyEvent>
#include <QLineEdit>

TForm7::TForm7(TDataModule6& data, QWidget* parent) : BookEditor(QStringLiteral("Изделие"), QStringLiteral("Данные об изделии"), data, parent)
{
    setObjectName(QStringLiteral("Form7"));
    Edit1 = addLineEdit("Edit1", QStringLiteral("&Марка"), 289);
    Edit2 = addLineEdit("Edit2", QStringLiteral("&Расценка"), 49);
    Edit2->installEventFilter(this);
}

bool TForm7::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Edit2 && e->type() == QEvent::KeyPress) {
        if (Edit2KeyPress(static_cast<QKeyEvent*>(e)->text())) return true;
    }
    return BookEditor::eventFilter(watched, e);
}

bool TForm7::Edit2KeyPress(const QString& typed)
{
    // Only typed characters are filtered; caret keys, Enter and Esc keep their work.
    if (typed.size() != 1 || !typed.at(0).isPrint()) return false;
    const QChar c = typed.at(0);
    if (c >= u'0' && c <= u'9') return false;
    if (c == u'.' || c == u',') Edit2->insert(QStringLiteral(","));
    return true;
}

void TForm7::Button1Click()
{
    if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty()) {
        msg::error(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    const QString mark = Edit1->text().trimmed();
    sqltext::checkTypedText(mark);
    // Read with the workstation's decimal comma before anything is sent: a text that is no number stops
    // the save here.
    const double rate = fieldvalue::typedNumber(Edit2->text(), QStringLiteral("Расценка"));
    const store::ProductValues values{mark, productGroup(mark), rate};
    const store::Answer outcome = Tag == 1 ? store::Answer{store::addProduct(data_.session(), values), {}}
                                           : store::changeProduct(data_.session(), AsRead, values);
    if (closedAsStale(outcome, data_.Izdel)) return;
    if (outcome == store::Outcome::Duplicate) {
        msg::error(QStringLiteral("Такая марка изделия уже заведена!"));
        return;
    }
    reopen(data_.Izdel);
    accept();
}

void TForm7::presetForAdd()
{
    Edit1->clear();
    Edit2->clear();
    setWindowTitle(QStringLiteral("Заведение нового изделия"));
    Tag = 1;
    ProductId = 0;
}

void TForm7::presetForChange(const ProductRow& row)
{
    setWindowTitle(QStringLiteral("Изменение данных изделия"));
    Tag = 2;
    ProductId = row.id;
    AsRead = row.asRead;
    AsRead.id = row.id;
    Edit1->setText(row.mark);
    Edit2->setText(row.boxes);
}
