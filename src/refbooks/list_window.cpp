#include "refbooks/list_window.h"

#include "core/dataset.h"
#include "core/error_report.h"
#include "core/record_filter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// Keys that still reach the search box where the others are marked handled: typing, Backspace, the
// clipboard, and the keys the dialog itself acts on (Enter for the default button, Esc, Tab).
bool editsOrLeavesTheBox(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    default: break;
    }
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut)
        || e->matches(QKeySequence::Undo))
        return true;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

ListWindow::ListWindow(const Look& look, TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data), look_(look)
{
    setWindowTitle(look.caption);

    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(look.columns);
    if (look.gridSize.isValid()) DBGrid1->setMinimumSize(look.gridSize);

    Button1 = makeButton(this, "Button1", QStringLiteral("&Добавить"));
    Button2 = makeButton(this, "Button2", QStringLiteral("&Изменить"));
    Button3 = makeButton(this, "Button3", QStringLiteral("&Удалить"));
    Button4 = makeButton(this, "Button4", QStringLiteral("Вы&ход"));
    Button1->setDefault(true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    searchLabel_ = new QLabel(QStringLiteral("&Поиск:"), this);
    searchLabel_->setBuddy(Edit1);
    Edit1->installEventFilter(this);

    buttonRow_ = new QHBoxLayout;
    buttonRow_->addWidget(Button1);
    buttonRow_->addWidget(Button2);
    buttonRow_->addWidget(Button3);
    extrasAt_ = buttonRow_->count();
    lastBeforeSearch_ = Button3;
    auto* main = new QVBoxLayout(this);
    main->addWidget(DBGrid1, 1);
    if (look.searchPlace == SearchPlace::ButtonRow) {
        // The box gives way first when the row is short of room.
        Edit1->setMinimumWidth(look.searchWidth / 2);
        Edit1->setMaximumWidth(look.searchWidth);
        Edit1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttonRow_->addSpacing(8);
        buttonRow_->addWidget(searchLabel_);
        buttonRow_->addWidget(Edit1, 100);
        buttonRow_->addStretch(1);
        buttonRow_->addWidget(Button4);
        main->addLayout(buttonRow_);
        setTabOrder(DBGrid1, Button1);
        setTabOrder(Button1, Button2);
        setTabOrder(Button2, Button3);
        setTabOrder(Button3, Edit1);
        setTabOrder(Edit1, Button4);
    } else {
        Edit1->setFixedWidth(look.searchWidth);
        auto* searchRow = new QHBoxLayout;
        searchRow->addWidget(searchLabel_);
        searchRow->addWidget(Edit1);
        searchRow->addStretch();
        main->addLayout(searchRow);
        buttonRow_->addStretch();
        buttonRow_->addWidget(Button4);
        main->addLayout(buttonRow_);
        setTabOrder(DBGrid1, Edit1);
        setTabOrder(Edit1, Button1);
        setTabOrder(Button1, Button2);
        setTabOrder(Button2, Button3);
        setTabOrder(Button3, Button4);
    }
    if (look.fixedSize) main->setSizeConstraint(QLayout::SetFixedSize);

    if (!look.searchShown) Edit1->hide();
    if (!look.editButtonsShown) {
        Button1->hide();
        Button2->hide();
        Button3->hide();
    }

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(DBGrid1, &DataGrid::dblClick, this, guarded([this] { DBGrid1DblClick(); }));
    connect(Edit1, &QLineEdit::textChanged, this, guarded([this] { Edit1Change(); }));
}

void ListWindow::addToButtonRow(QWidget* w)
{
    buttonRow_->insertWidget(extrasAt_++, w);
    setTabOrder(lastBeforeSearch_, w);
    lastBeforeSearch_ = w;
}

void ListWindow::Edit1Change()
{
    Dataset* ds = dataset();
    const QString text = Edit1->text();
    if (look_.blankSearchShowsAll ? text.trimmed().isEmpty() : text.isEmpty()) {
        ds->setFiltered(false);
        return;
    }
    // The typed text is data: a quote, % or _ in it matches itself.
    ds->setFilter(RecordFilter::prefix(look_.searchField, text));
    ds->setFiltered(true);
}

bool ListWindow::Edit1KeyDown(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Up) {
        dataset()->prior();
        return true;
    }
    if (e->key() == Qt::Key_Down) {
        dataset()->next();
        return true;
    }
    if (look_.searchKeys == SearchKeys::AllButUpDown) return false;
    return !editsOrLeavesTheBox(e);
}

void ListWindow::FormActivate()
{
    if (Edit1->isVisibleTo(this)) Edit1->setFocus();
}

void ListWindow::showEvent(QShowEvent* e)
{
    if (DBGrid1->dataset() != dataset()) DBGrid1->setDataset(dataset());
    QDialog::showEvent(e);
    if (!e->spontaneous()) guarded([this] { FormActivate(); })();
}

bool ListWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Edit1) {
        switch (e->type()) {
        // The search box's label comes and goes with it, whoever shows or hides the box.
        case QEvent::ShowToParent: searchLabel_->show(); break;
        case QEvent::HideToParent: searchLabel_->hide(); break;
        case QEvent::KeyPress: {
            bool handled = false;
            guarded([&] { handled = Edit1KeyDown(static_cast<QKeyEvent*>(e)); })();
            if (handled) return true;
            break;
        }
        default: break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void ListWindow::choose()
{
    if (dataset()->isOpen() && !dataset()->isEmpty())
        accept();
    else
        close();
}
