#include "refbooks/operation_dialog.h"

#include "store/books_store.h"
#include "refbooks/kinds_list.h"
#include "refbooks/products_list.h"

#include "refbooks/book_opening.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/error_report.h"
#include "refbooks/book_instances.h"
#include "refbooks/kinds_list.h"
#include "core/messages.h"
#include "refbooks/products_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <utility>

namespace {

const QString kSameOperation = QStringLiteral("Операция с такими параметрами уже заведена!");

// Read-only and skipped by Tab: only a pick fills it.
QLineEdit* pickedBox(const char* name, int width)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    if (width > 0) e->setFixedWidth(width);
    return e;
}

QPushButton* pickButton(const char* name, const QString& what)
{
    auto* b = new QPushButton(QStringLiteral("..."));
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(what);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    return b;
}

// A picked box with its "..." beside it; the row takes the focus on the button.
QWidget* pickRow(QLineEdit* box, QPushButton* pick)
{
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(box, 1);
    h->addWidget(pick);
    row->setFocusProxy(pick);
    return row;
}

}  // namespace

QString operationGroupText(int naimen)
{
    return naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}

TForm10::TForm10(TDataModule6& data, QWidget* parent) : BookEditor(QStringLiteral("Цена операции"), QStringLiteral("Цена операции"), data, parent)
{
    setObjectName(QStringLiteral("Form10"));
    // The border lets the dialog grow (the kind's box takes the width), never shrink below its contents.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);

    Edit1 = pickedBox("Edit1", 329);
    Edit2 = pickedBox("Edit2", 0);
    Button3 = pickButton("Button3", QStringLiteral("Марка изделия"));
    Button4 = pickButton("Button4", QStringLiteral("Операция"));
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({operationGroupText(0), operationGroupText(1)});
    ComboBox1->setCurrentIndex(0);

    QWidget* markRow = pickRow(Edit1, Button3);
    QWidget* kindRow = pickRow(Edit2, Button4);
    addRow(QStringLiteral("Марка изделия"), markRow);
    addRow(QStringLiteral("Операция"), kindRow);
    addRow(QStringLiteral("&Вид"), ComboBox1);
    // The labels are bold here, and each belongs to its box rather than to the row around it. Qt finds
    // a box's label only among the box's siblings, so the two boxes beside a "..." are named here.
    for (QLabel* label : findChildren<QLabel*>()) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        for (auto [row, box] : {std::pair<QWidget*, QLineEdit*>{markRow, Edit1}, {kindRow, Edit2}}) {
            if (label->buddy() != row) continue;
            label->setBuddy(box);
            box->setAccessibleName(label->text());
        }
    }
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, ComboBox1);
    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
}

void TForm10::Button3Click()
{
    if (const std::optional<PickedRow> product = pickProduct(*Form3)) {
        Edit1->setText(product->text);
        ChosenProductId = product->id;
    }
}

void TForm10::Button4Click()
{
    if (const std::optional<PickedRow> kind = pickKind(*Form8)) {
        Edit2->setText(kind->text);
        ChosenKindId = kind->id;
    }
}

void TForm10::Button1Click()
{
    const int group = ComboBox1->currentIndex();
    if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty()) {
        msg::error(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    // The database gives a new operation its first norm, so the book shows it at once.
    const store::Answer outcome =
        Tag == 1 ? store::Answer{store::addOperation(data_.session(), ChosenKindId, group, ChosenProductId), {}}
                 : store::changeOperation(data_.session(), AsRead, ChosenKindId, group, ChosenProductId);
    if (closedAsStale(outcome, data_.Oper)) return;
    if (outcome == store::Outcome::Duplicate) {
        msg::error(kSameOperation);
        return;
    }
    Dataset* oper = data_.Oper;
    oper->close();
    oper->open();
    accept();
}

void TForm10::presetForAdd()
{
    Edit1->clear();
    Edit2->clear();
    ComboBox1->setCurrentIndex(0);
    setWindowTitle(QStringLiteral("Заведение новой цены за операцию"));
    Tag = 1;
    OperationId = 0;
}

void TForm10::presetForChange(const OperationRow& row)
{
    setWindowTitle(QStringLiteral("Изменение данных о цене за операцию"));
    Tag = 2;
    OperationId = row.id;
    AsRead = row.asRead;
    AsRead.id = row.id;
    Edit1->setText(row.mark);
    Edit2->setText(row.kind);
    // Any group flag but 0 is blanks, the second entry.
    ComboBox1->setCurrentIndex(row.naimen == 0 ? 0 : 1);
    ChosenProductId = row.productId;
    ChosenKindId = row.kindId;
}
