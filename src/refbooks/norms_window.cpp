#include "refbooks/norms_window.h"

#include "store/books_store.h"
#include "store/reads/books.h"
#include "core/data_grid.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/error_report.h"
#include "core/stale_row.h"
#include "store/db_error.h"
#include "refbooks/book_instances.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

TForm22::TForm22(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form22"));
    setWindowTitle(QStringLiteral("Норматив"));
    setFixedSize(365, 278);

    norm = new Dataset(store::reads::norms(), this);
    norm->setConnectionName(TDataModule6::kConnection);
    norm->setIndexFieldNames(QStringLiteral("norma"));
    // The grid's rows are stored by the norm verbs, each in its own transaction.
    // A change or delete is written only while the norm stands as the grid read it.
    norm->setRowStore({[this](const store::RowWrite& row) { return store::storeNorm(data_.session(), row, true); },
                       [this](const store::RowWrite& row) { refuseIfStale(store::changeNorm(data_.session(), row)); },
                       [this](const store::RowWrite& row) { refuseIfStale(store::removeNorm(data_.session(), row)); }});
    // A norm the database refuses is given up, as the books give up a refused row: the grid shows the
    // stored norms again and the next cell, or "Сохранить", does not raise the same refusal once more.
    norm->setCancelRefusedStore(true);
    // However a new row was started (keyboard, mouse, Tab past the last cell), it is stored with the
    // operation it belongs to; without its o_id it would fall out of the operation's norms.
    norm->setBeforePost([this](Dataset& ds) {
        if (ds.state() == Dataset::State::Insert && data_.Oper->isOpen() && !data_.Oper->isEmpty())
            ds.fieldByName(QStringLiteral("o_id")).setInteger(data_.Oper->fieldByName(QStringLiteral("id")).asInteger());
    });

    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Норматив"));
    DBGrid1->setGeometry(0, 0, 365, 241);
    DBGrid1->setColumns({{QStringLiteral("norma"), QStringLiteral("Норматив"), 133},
                         {QStringLiteral("price"), QStringLiteral("Цена"), 105},
                         {QStringLiteral("prize"), QStringLiteral("Премия, %"), 82}});
    DBGrid1->setEditable(true);
    DBGrid1->setDataset(norm);
    DBGrid1->setCanDeleteRow([this] { return norm->recordCount() > 1; });
    connect(DBGrid1, &DataGrid::columnEnter, this, guarded([this](int) { DBGrid1ColEnter(); }));
    connect(DBGrid1, &DataGrid::columnExit, this, guarded([this](int) { DBGrid1ColExit(); }));

    Button2 = new QPushButton(QStringLiteral("&Удалить"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(8, 247, 90, 25);
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));

    Button1 = new QPushButton(QStringLiteral("&Сохранить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(267, 247, 90, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));

    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
}

void TForm22::DBGrid1ColEnter()
{
    // Entering a cell changes nothing: the grid starts editing the row when a value is typed. It only
    // tells whether the row is a new one.
    if (!norm->isOpen()) return;
    NewRow = norm->recNo() < 0;
}

void TForm22::DBGrid1ColExit()
{
    if (!norm->isModified()) return;
    if (NewRow && data_.Oper->isOpen() && !data_.Oper->isEmpty())
        norm->fieldByName(QStringLiteral("o_id")).setInteger(data_.Oper->fieldByName(QStringLiteral("id")).asInteger());
    norm->post();
    // The stored row takes its place in norma order among the rows shown. The table is not read again
    // here: another workstation's norms would shift the rows under the cursor; they show at the next opening.
    norm->setIndexFieldNames(QStringLiteral("norma"));
}

void TForm22::Button1Click()
{
    // A row only started holds nothing to store.
    if (norm->isModified())
        norm->post();
    else
        norm->cancel();
    Dataset* oper = data_.Oper;
    const int row = oper->recNo();
    oper->close();
    oper->open();
    oper->setRecNo(row);
    accept();
}

void TForm22::Button2Click()
{
    // The last norm of an operation is never deleted: without it the operation leaves the operations book.
    if (norm->recordCount() > 1) norm->remove();
    norm->refresh();
}

void TForm22::keyPressEvent(QKeyEvent* e)
{
    // "Сохранить" is the cancel button too: Escape saves and closes.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        Button1->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TForm22::refuseIfStale(const store::Answer& answer)
{
    if (!isStale(answer)) return;
    // The grid reads the norms again once the refusal is shown: the row as it is now, or without it.
    QTimer::singleShot(0, this, guarded([this] { norm->refresh(); }));
    throw DbError(staleRowText(answer, answer == store::Outcome::Changed
                                           ? QStringLiteral("Изменения не записаны. Таблица показывает норматив таким, какой он сейчас.")
                                           : QStringLiteral("Изменения не записаны.")),
                  DbError::Kind::Refused);
}
