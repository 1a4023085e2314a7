#include "journal/entry_editor.h"

#include "core/date_box.h"
#include "core/data_module.h"
#include "core/dataset.h"
#include "core/row_as_read.h"
#include "core/stale_row.h"
#include "store/reads/journal.h"
#include "store/db_error.h"
#include "store/journal_store.h"
#include "store/month_store.h"
#include "journal/entry_texts.h"
#include "journal/entry_price.h"
#include "core/error_report.h"
#include "journal/instances.h"
#include "core/messages.h"
#include "refbooks/operations_list.h"
#include "journal/program_end.h"
#include "journal/reopen.h"
#include "refbooks/book_opening.h"
#include "refbooks/workers_list.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QLineEdit* makeBox(QWidget* parent, const char* name, bool display)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    if (display) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
    } else {
        // Pasted text does not pass the key filter; the validator keeps it to digits as well.
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    }
    return e;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QDate firstOfMonth(const QDate& d)
{
    return d.isValid() ? QDate(d.year(), d.month(), 1) : QDate();
}

bool blank(const QLineEdit* e)
{
    return e->text().trimmed().isEmpty();
}

// The quantity the sum is shown for. A stored entry may hold what the box does not let one type (a
// negative or a huge number): it is shown as it is, and the save refuses it.
long double shownQuantity(const QLineEdit* e)
{
    bool ok = false;
    const qlonglong n = e->text().trimmed().toLongLong(&ok);
    return ok ? n : 0;
}

// Digits and Backspace; keys that type nothing (Tab, arrows, Delete, Enter) are not typing.
bool discardsKey(const QKeyEvent* key)
{
    const QString t = key->text();
    if (t.size() != 1) return false;
    const QChar c = t.front();
    if (c == u'\b' || c.category() == QChar::Other_Control) return false;
    return !(c >= u'0' && c <= u'9');
}

// The user moving from a box to another control of the window. The window losing the activation (to a
// message box, a picker, or by hiding after a save) is not leaving the box.
bool leavesTheBox(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

}  // namespace

TForm11::TForm11(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Заведение новой позиции"));

    GroupBox1 = new QGroupBox(QStringLiteral("Закрыто мастером"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = makeBox(GroupBox1, "Edit1", true);
    Button3 = makeButton(GroupBox1, "Button3", QStringLiteral("..."));
    Edit2 = makeBox(GroupBox1, "Edit2", true);
    Button4 = makeButton(GroupBox1, "Button4", QStringLiteral("..."));
    Edit3 = makeBox(GroupBox1, "Edit3", false);
    Edit6 = makeBox(GroupBox1, "Edit6", false);
    Edit5 = makeBox(GroupBox1, "Edit5", false);
    DTimeP = new QDateEdit(GroupBox1);
    DTimeP->setObjectName(QStringLiteral("DTimeP"));
    DTimeP->setCalendarPopup(true);
    datebox::openCalendarFromKeyboard(DTimeP);
    DTimeP->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    Edit4 = makeBox(GroupBox1, "Edit4", false);
    Edit8 = makeBox(GroupBox1, "Edit8", true);
    Edit7 = makeBox(GroupBox1, "Edit7", true);
    Edit9 = makeBox(GroupBox1, "Edit9", true);
    Button3->setAccessibleName(QStringLiteral("Выбрать работника"));
    Button4->setAccessibleName(QStringLiteral("Выбрать операцию"));

    auto* grid = new QGridLayout(GroupBox1);
    int row = 0;
    auto addRow = [&](const char* labelName, const QString& caption, QWidget* box, QWidget* button = nullptr) {
        auto* label = new QLabel(caption, GroupBox1);
        label->setObjectName(QLatin1String(labelName));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1, 1, button ? 1 : 2);
        if (button) grid->addWidget(button, row, 2);
        ++row;
        return label;
    };
    addRow("Label1", QStringLiteral("ФИО"), Edit1, Button3);
    addRow("Label2", QStringLiteral("Операция"), Edit2, Button4);
    addRow("Label3", QStringLiteral("Кол-во"), Edit3);
    addRow("Label4", QStringLiteral("Время"), Edit6);
    Label6 = addRow("Label6", QStringLiteral("Цвет"), Edit5);
    QLabel* date = addRow("Label5", QStringLiteral("Дата"), DTimeP);
    // The picker's text box takes its focus and is what a screen reader lands on: the label names that box.
    // It is not the label's sibling, so it gets the name spelled out.
    QLineEdit* dateText = DTimeP->findChild<QLineEdit*>();
    date->setBuddy(dateText);
    dateText->setAccessibleName(date->text());
    DTimeP->setAccessibleName(date->text());
    addRow("Label7", QStringLiteral("Брак"), Edit4);
    addRow("Label8", QStringLiteral("Цена база"), Edit8);
    addRow("Label9", QStringLiteral("Цена итог"), Edit7);
    addRow("Label10", QStringLiteral("Сумма"), Edit9);
    Edit1->setMinimumWidth(320);

    Button1 = makeButton(this, "Button1", QStringLiteral("Запись"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Отмена"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Edit3);
    setTabOrder(Edit3, Edit6);
    setTabOrder(Edit6, Edit5);
    setTabOrder(Edit5, DTimeP);
    setTabOrder(DTimeP, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, Button2);

    for (QWidget* w : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) w->installEventFilter(this);
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    // Queued: the date box and the calendar finish their own handling before a message may take the focus.
    connect(DTimeP, &QDateEdit::editingFinished, this, guarded([this] { DTimePExit(); }), Qt::QueuedConnection);
    calendarPopup_ = DTimeP->calendarWidget()->window();
    calendarPopup_->installEventFilter(this);
}

void TForm11::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Over the journal it was opened from, wherever that stands.
    if (context_.opener && context_.opener->isVisible())
        move(context_.opener->frameGeometry().center() - rect().center());
    FormActivate();
}

bool TForm11::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == Edit3 || watched == Edit5) return Edit3KeyPress(static_cast<QKeyEvent*>(event));
        if (watched == Edit4 || watched == Edit6) return Edit4KeyPress(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusOut:
        if ((watched == Edit3 || watched == Edit6) && leavesTheBox(static_cast<QFocusEvent*>(event)))
            guarded([this] { Edit6Exit(); })();
        break;
    case QEvent::Hide:
        if (watched == calendarPopup_) QMetaObject::invokeMethod(this, guarded([this] { DTimePExit(); }), Qt::QueuedConnection);
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Edit1) guarded([this] { Button3Click(); })();
        if (watched == Edit2) guarded([this] { Button4Click(); })();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm11::FormActivate()
{
    Button3->setFocus();
}

void TForm11::Button3Click()
{
    if (const std::optional<PickedRow> worker = pickWorker(*Form5)) {
        Edit1->setText(worker->text);
        WorkerId = worker->id;
    }
}

void TForm11::Button4Click()
{
    // A change starts on the entry's operation as stored.
    const int entryOperId = Tag != 1 && entry_ ? entry_->operation : 0;
    const std::optional<PickedOperation> picked =
        pickOperation(*Form4, PriceFactors{context_.dayOff, context_.shift}, entryOperId);
    if (programend::requested()) return;
    if (picked) {
        ProductId = picked->productId;
        OperId = picked->operId;
        FinalPrice = picked->finalPrice;
        Edit2->setText(picked->text);
    }
    enableColour(isPaintingOperation(Edit2->text()));
    Edit6Exit();
}

bool TForm11::Edit3KeyPress(QKeyEvent* key)
{
    return discardsKey(key);
}

bool TForm11::Edit4KeyPress(QKeyEvent* key)
{
    return discardsKey(key);
}

void TForm11::enableColour(bool painting)
{
    if (!painting) Edit5->clear();
    Edit5->setEnabled(painting);
    Label6->setEnabled(painting);
}

double TForm11::basePrice() const
{
    Dataset* oper = data_.Oper;
    if (!oper->isOpen() || !oper->locate(QStringLiteral("id"), OperId)) return 0;
    return oper->fieldByName(QStringLiteral("cena")).asDouble();
}

void TForm11::showPriceAndSum()
{
    Edit7->setText(entryprice::shown(FinalPrice));
    Edit9->setText(entryprice::shown(shownQuantity(Edit3) * FinalPrice));
}

void TForm11::Edit6Exit()
{
    if (blank(Edit6)) Edit6->setText(QStringLiteral("0"));
    if (blank(Edit3)) Edit3->setText(QStringLiteral("0"));
    Edit7->setText(entryprice::shown(FinalPrice));
    Edit8->setText(entryprice::shown(basePrice()));
    showPriceAndSum();
}

void TForm11::DTimePExit()
{
    const QDate month = firstOfMonth(DTimeP->date());
    // The editor may have closed meanwhile; a month already asked about is not asked again (the message
    // itself takes the focus from the box).
    if (!isVisible() || month == checkedMonth_) return;
    checkedMonth_ = month;
    store::refuseIfClosed(data_.session().db, month);
}

void TForm11::clearBoxes()
{
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) e->clear();
}

void TForm11::Button1Click()
{
    const bool painting = isPaintingOperation(Edit2->text());
    if (blank(Edit1) || blank(Edit2) || blank(Edit3) || blank(Edit4) || (painting && blank(Edit5)) || blank(Edit6)) {
        msg::error(QStringLiteral("Все поля должны быть заполнены!"));
        return;
    }
    store::EntryValues v;
    v.price = entryprice::written(FinalPrice);
    v.shift = context_.shift;
    Dataset* shift = data_.shiftDataset(v.shift);
    v.colour = blank(Edit5) ? 0 : store::wholeNumber(Edit5->text());
    v.worker = WorkerId;
    v.product = ProductId;
    v.operation = OperId;
    v.quantity = Edit3->text().trimmed();
    v.rejects = Edit4->text().trimmed();
    v.hours = Edit6->text().trimmed();
    v.date = DTimeP->date();
    v.entered = QDate::currentDate();
    // What the journal cannot hold is refused before any statement; the window keeps its contents.
    store::checkEntry(v);
    if (Tag != 1 && !entry_)
        throw DbError(QStringLiteral("Внутренняя ошибка программы: не задана изменяемая позиция."), DbError::Kind::ProgramFault);
    const std::optional<int> changed = Tag == 1 ? std::nullopt : std::optional<int>(entry_->id);
    // A closed month (the new date's, or the old one's of a change) is refused before the write, the boxes
    // kept. Should it be closed between this check and the write, the database refuses the write itself.
    checkedMonth_ = firstOfMonth(v.date);
    store::refuseIfClosed(data_.session().db, v.date);
    if (changed && firstOfMonth(entry_->date) != checkedMonth_) store::refuseIfClosed(data_.session().db, entry_->date);

    // The entry and its time-sheet day are one piece of work, checked for a duplicate inside it: a failure
    // leaves neither, and the window keeps its contents for another try. A change is written only while
    // the entry stands as the journal showed it.
    store::Answer answer;
    if (changed) {
        store::RowAsRead asRead = entry_->asRead;
        asRead.id = entry_->id;
        answer = store::saveEntry(data_.session(), v, asRead);
    } else {
        answer.outcome = store::saveEntry(data_.session(), v, std::nullopt);
    }
    if (answer == store::Outcome::Duplicate) {
        msg::error(QStringLiteral("Позиция с такими параметрами уже заведена!"));
        return;
    }
    if (isStale(answer)) {
        showChangedElsewhere(answer, *shift);
        return;
    }

    reopenAtSameRecord(*shift);
    // The time-sheet windows read the month afresh when they open it next.
    for (Dataset* sheet : {data_.H_Tabel_1, data_.H_Tabel_2, data_.H_Tabel_3}) sheet->close();
    clearBoxes();
    reject();
}

void TForm11::showChangedElsewhere(const store::Answer& answer, Dataset& journal)
{
    reopenAtSameRecord(journal);
    std::optional<EntryRow> now;
    if (answer == store::Outcome::Changed) {
        Dataset entry(store::reads::journalEntry());
        entry.setConnectionName(TDataModule6::kConnection);
        entry.setParam(QStringLiteral("id"), entry_->id);
        entry.open();
        if (!entry.isEmpty()) now = entryRowOf(entry);
    }
    if (now) {
        presetForChange(context_, *now);
        tellStaleRow(answer, QStringLiteral("Ваши изменения не записаны. Окно показывает позицию такой, какая она сейчас."));
        return;
    }
    clearBoxes();
    reject();
    tellStaleRow(answer, QStringLiteral("Ваши изменения не записаны."));
}

EntryRow entryRowOf(Dataset& journal)
{
    auto field = [&journal](const char* name) { return journal.fieldByName(QLatin1String(name)); };
    EntryRow r;
    r.id = field("id").asInteger();
    r.worker = field("w_id").asInteger();
    r.product = field("i_id").asInteger();
    r.operation = field("o_id").asInteger();
    r.price = field("cena").asDouble();
    r.date = field("data").asDate();
    r.name = field("fio").asString();
    r.mark = field("marka").asString();
    r.kind = field("vid").asString();
    r.group = field("naimen").asInteger();
    r.quantity = field("kol_vo").asString();
    r.rejects = field("brak").asString();
    r.hours = field("time").asString();
    r.colour = field("color").asString();
    r.asRead = rowAsRead(journal, QStringLiteral("id"), store::entryColumnsAsRead());
    return r;
}

void TForm11::presetForAdd(const EntryContext& context)
{
    context_ = context;
    entry_.reset();
    DTimeP->setDate(context.date);
    // The journal asked about its month as it opened the editor.
    checkedMonth_ = firstOfMonth(context.date);
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    // No operation is chosen yet, so none that paints.
    enableColour(false);
    Edit4->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    // Prices of an entry left by "Отмена" belong to no operation of the new one.
    Edit7->clear();
    Edit8->clear();
    Edit9->clear();
    setWindowTitle(QStringLiteral("Заведение новой позиции"));
    Tag = 1;
}

void TForm11::presetForChange(const EntryContext& context, const EntryRow& entry)
{
    context_ = context;
    entry_ = entry;
    setWindowTitle(QStringLiteral("Изменение данных о позиции"));
    Tag = 2;
    FinalPrice = entry.price;
    DTimeP->setDate(entry.date);
    checkedMonth_ = firstOfMonth(entry.date);
    Edit1->setText(entry.name.trimmed());
    Edit2->setText(operationDescription(entry.mark, entry.kind, entry.group));
    Edit3->setText(entry.quantity);
    Edit4->setText(entry.rejects);
    WorkerId = entry.worker;
    ProductId = entry.product;
    OperId = entry.operation;
    Edit6->setText(entry.hours);
    const bool painting = isPaintingOperation(entry.kind);
    Edit5->setText(painting ? entry.colour : QString());
    enableColour(painting);
    // The base price is shown once the operation is picked again.
    Edit8->clear();
    showPriceAndSum();
}
