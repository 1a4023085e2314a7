#include "journal/entry_history_window.h"

#include "core/data_module.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "core/wait_cursor.h"
#include "core/history_text.h"
#include "store/journal_store.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QString deletedText(const store::reads::DeletedEntry& d)
{
    return QStringLiteral("№ %1: %2, %3, %4 — удалена %5, %6")
        .arg(d.entryId)
        .arg(d.worker, d.product, d.operation, historytext::momentText(d.at), d.by);
}

}  // namespace

TForm25::TForm25(TDataModule6& data, QWidget* parent) : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("Form25"));
    setWindowTitle(QStringLiteral("История записи"));

    Label1 = new QLabel(QStringLiteral("&Запись:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EntryBox = new QComboBox(this);
    EntryBox->setObjectName(QStringLiteral("EntryBox"));
    EntryBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    EntryBox->setMinimumContentsLength(60);
    Label1->setBuddy(EntryBox);

    VersionsGrid = new QTableWidget(0, ColumnCount, this);
    VersionsGrid->setObjectName(QStringLiteral("VersionsGrid"));
    VersionsGrid->setAccessibleName(QStringLiteral("Версии записи"));
    VersionsGrid->setHorizontalHeaderLabels({QStringLiteral("Когда"), QStringLiteral("Действие"), QStringLiteral("Поле"),
                                             QStringLiteral("Было"), QStringLiteral("Стало"), QStringLiteral("Пользователь БД"),
                                             QStringLiteral("Кто"), QStringLiteral("Роль"), QStringLiteral("Рабочее место")});
    VersionsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VersionsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    VersionsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    VersionsGrid->setWordWrap(false);
    VersionsGrid->verticalHeader()->hide();
    VersionsGrid->verticalHeader()->setDefaultSectionSize(VersionsGrid->fontMetrics().height() + 6);
    VersionsGrid->horizontalHeader()->setStretchLastSection(true);
    const int widths[ColumnCount] = {145, 100, 150, 170, 170, 125, 80, 120, 120};
    for (int c = 0; c < ColumnCount; ++c) VersionsGrid->setColumnWidth(c, widths[c]);

    RestoreButton = makeButton(QStringLiteral("&Восстановить"), "RestoreButton", this);
    RestoreButton->setEnabled(false);
    ExitButton = makeButton(QStringLiteral("В&ыход"), "ExitButton", this);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(EntryBox, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(RestoreButton);
    bottom->addStretch(1);
    bottom->addWidget(ExitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(VersionsGrid, 1);
    layout->addLayout(bottom);
    resize(1240, 520);

    connect(EntryBox, &QComboBox::activated, this, guarded([this] { EntryBoxChange(); }));
    connect(VersionsGrid, &QTableWidget::currentCellChanged, this, [this] { updateRestoreButton(); });
    connect(RestoreButton, &QPushButton::clicked, this, guarded([this] { RestoreButtonClick(); }));
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm25::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    const QWidget* opener = context_.opener ? context_.opener : QApplication::activeWindow();
    if (opener && opener != this && opener->isVisible()) move(opener->frameGeometry().center() - rect().center());
    VersionsGrid->setFocus();
}

void TForm25::presetFor(const EntryHistoryContext& context)
{
    WaitCursor waiting;
    context_ = context;
    restored_ = false;
    fillEntries();
    EntryBox->setCurrentIndex(EntryBox->count() > 0 ? 0 : -1);
    showVersions();
}

void TForm25::fillEntries()
{
    choices_.clear();
    EntryBox->clear();
    if (context_.entryId > 0) {
        choices_.push_back({context_.entryId, 0});
        EntryBox->addItem(QStringLiteral("№ %1: %2").arg(context_.entryId).arg(context_.entryText));
    }
    for (const store::reads::DeletedEntry& d : store::reads::entriesDeletedFrom(data_.session().db, context_.day, context_.shift)) {
        choices_.push_back({d.entryId, d.historyId});
        EntryBox->addItem(deletedText(d));
    }
}

void TForm25::EntryBoxChange()
{
    WaitCursor waiting;
    showVersions();
}

void TForm25::showVersions()
{
    const int chosen = EntryBox->currentIndex();
    versions_.clear();
    if (chosen >= 0 && chosen < int(choices_.size()))
        versions_ = store::reads::entryHistory(data_.session().db, choices_[size_t(chosen)].entryId);

    VersionsGrid->setRowCount(0);
    versionOfLine_.clear();
    const QColor shade = VersionsGrid->palette().color(QPalette::AlternateBase);
    for (int i = 0; i < int(versions_.size()); ++i) {
        const store::reads::HistoryVersion& v = versions_[size_t(i)];
        // A version without fields (a rewrite the history kept) still shows who and when.
        const int lines = std::max<int>(1, int(v.fields.size()));
        for (int f = 0; f < lines; ++f) {
            const int line = VersionsGrid->rowCount();
            VersionsGrid->insertRow(line);
            versionOfLine_.push_back(i);
            QStringList texts(ColumnCount);
            // When and who on the version's first line; its other lines name only their fields.
            if (f == 0) {
                texts[When] = historytext::momentText(v.at);
                texts[Operation] = historytext::operationName(v.op);
                texts[DbUser] = v.dbUser;
                texts[Actor] = v.actor;
                texts[Role] = historytext::roleName(v.role);
                texts[Workstation] = v.workstation;
            }
            if (f < int(v.fields.size())) {
                const store::reads::HistoryField& field = v.fields[size_t(f)];
                texts[Field] = field.caption;
                texts[Before] = historytext::valueText(field, false);
                texts[After] = historytext::valueText(field, true);
            }
            for (int c = 0; c < ColumnCount; ++c) {
                auto* item = new QTableWidgetItem(texts[c]);
                // Versions alternate in shade, so that the lines of one read together.
                if (i % 2 == 1) item->setBackground(shade);
                VersionsGrid->setItem(line, c, item);
            }
        }
    }
    // A deleted entry opens on its deletion, ready to be restored.
    if (VersionsGrid->rowCount() > 0) VersionsGrid->setCurrentCell(VersionsGrid->rowCount() - 1, 0);
    updateRestoreButton();
}

qint64 TForm25::restorableDeletion() const
{
    if (!store::can(data_.actor().role, store::Action::RestoreEntry)) return 0;
    const int chosen = EntryBox->currentIndex();
    const int line = VersionsGrid->currentRow();
    if (chosen < 0 || chosen >= int(choices_.size()) || line < 0 || line >= int(versionOfLine_.size())) return 0;
    const qint64 deletion = choices_[size_t(chosen)].deletion;
    const store::reads::HistoryVersion& v = versions_[size_t(versionOfLine_[size_t(line)])];
    return deletion != 0 && v.id == deletion ? deletion : 0;
}

void TForm25::updateRestoreButton()
{
    RestoreButton->setEnabled(restorableDeletion() != 0);
}

void TForm25::RestoreButtonClick()
{
    const qint64 deletion = restorableDeletion();
    if (deletion == 0) return;
    if (!msg::askYesNo(QStringLiteral("Восстановление"), QStringLiteral("Восстановить удаленную запись в журнал?"))) return;
    {
        WaitCursor waiting;
        if (store::restoreEntry(data_.session(), deletion) == store::Outcome::Duplicate) {
            msg::error(QStringLiteral("Такая позиция уже есть в журнале: запись не восстановлена."));
            return;
        }
        restored_ = true;
        // The entry is in the journal again: it stays chosen, no longer as a deletion.
        const int chosen = EntryBox->currentIndex();
        choices_[size_t(chosen)].deletion = 0;
        EntryBox->setItemText(chosen, EntryBox->itemText(chosen) + QStringLiteral(" (восстановлена)"));
        showVersions();
    }
}
