#include "core/data_grid.h"

#include "core/dataset.h"
#include "core/field_value.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "store/db_error.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

// ---------------------------------------------------------------- model

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset* ds)
{
    for (const auto& c : links_) disconnect(c);
    links_.clear();
    ds_ = ds;
    shownRows_ = -1;  // forces a full reset below
    if (ds) {
        links_ << connect(ds, &Dataset::rowsReset, this, &DatasetModel::reset);
        links_ << connect(ds, &Dataset::rowChanged, this, [this](int row) {
            if (row >= 0 && row < shownRows_) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        // One row in or out: the view keeps its scroll position, selection and open editor.
        links_ << connect(ds, &Dataset::rowInserted, this, [this](int row) {
            changingRows_ = true;
            beginInsertRows({}, row, row);
            ++shownRows_;
            endInsertRows();
            changingRows_ = false;
        });
        links_ << connect(ds, &Dataset::rowRemoved, this, [this](int row) {
            changingRows_ = true;
            beginRemoveRows({}, row, row);
            --shownRows_;
            endRemoveRows();
            changingRows_ = false;
        });
        links_ << connect(ds, &Dataset::currentMoved, this, [this] {
            if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
        });
    }
    reset();
}

void DatasetModel::setColumns(const QList<GridColumn>& columns)
{
    columns_ = columns;
    shownRows_ = -1;
    reset();
}

void DatasetModel::reset()
{
    QVector<int> cols;
    for (const GridColumn& c : columns_) cols.append(ds_ && ds_->isOpen() ? ds_->fieldIndex(c.field) : -1);
    const int rows = ds_ && ds_->isOpen() ? ds_->visibleRowCount() : 0;
    if (cols == fieldCols_ && rows == shownRows_ && rows > 0) {
        // Same shape (a re-read, a refresh): repaint in place, so an open cell editor and the
        // current cell survive.
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, rows - 1);
        return;
    }
    beginResetModel();
    fieldCols_ = cols;
    shownRows_ = qMax(rows, 0);
    endResetModel();
}

int DatasetModel::fieldColumn(int gridColumn) const
{
    return fieldCols_.value(gridColumn, -1);
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ds_) return {};
    const GridColumn& c = columns_.at(index.column());
    const int fc = fieldColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        if (fc < 0) return {};
        // Format through a Field so the grid shows what the dataset's text reading gives.
        const QVariant v = ds_->valueAt(index.row(), fc);
        if (v.isNull()) return QString();
        return fieldvalue::format(ds_->fieldDef(fc), v, role == Qt::DisplayRole);
    }
    case Qt::TextAlignmentRole: return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
    case Qt::FontRole:
        if (c.font) return *c.font;
        return {};
    case Qt::BackgroundRole:
        if (c.color) return *c.color;
        return {};
    case Qt::ForegroundRole:
        if (c.textColor) return *c.textColor;
        return {};
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && ds_ && ds_->isOpen()) {
        // The row indicator: the new row is starred, the current row pointed at.
        if (section == ds_->insertRow()) return QStringLiteral("*");
        if (section == ds_->currentRow()) return QStringLiteral("\u25B6");
        return QString();
    }
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) return {};
    if (role == Qt::DisplayRole) return columns_.at(section).title;
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role == Qt::ForegroundRole && columns_.at(section).titleColor) return *columns_.at(section).titleColor;
    if (role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && index.isValid() && !columns_.at(index.column()).readOnly && fieldColumn(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !ds_ || !index.isValid()) return false;
    const int fc = fieldColumn(index.column());
    if (fc < 0) return false;
    // A cell editor that closes without a change commits the same text: nothing to write then.
    if (value.toString() == data(index, Qt::EditRole).toString()) return true;
    bool ok = false;
    guarded([&] {
        ds_->moveToRow(index.row());
        if (!ds_->isPending()) ds_->edit();
        try {
            ds_->field(fc).setString(value.toString());
        } catch (const DbError& e) {
            // Told in the program's words, naming the column the text was typed in.
            if (e.kind() != DbError::Kind::Conversion) throw;
            fieldvalue::refuseTyped(ds_->fieldDef(fc), columns_.at(index.column()).title);
        }
        ok = true;
    })();
    return ok;
}

// ---------------------------------------------------------------- delegate

namespace {

class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QString displayText(const QVariant& value, const QLocale&) const override { return value.toString(); }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const bool selected = opt.state & QStyle::State_Selected;
        CellDraw cd;
        cd.rect = opt.rect;
        cd.column = index.column();
        cd.row = index.row();
        cd.field = grid_->columns().at(index.column()).field;
        cd.selected = selected;
        cd.font = opt.font;
        cd.textColor = selected ? opt.palette.color(QPalette::HighlightedText) : opt.palette.color(QPalette::Text);
        cd.background = selected ? opt.palette.color(QPalette::Highlight)
                                 : (opt.backgroundBrush.style() != Qt::NoBrush ? opt.backgroundBrush.color()
                                                                               : opt.palette.color(QPalette::Base));
        if (grid_->drawCellHook()) grid_->drawCellHook()(cd, *grid_);

        p->save();
        p->fillRect(cd.rect, cd.background);
        p->setFont(cd.font);
        p->setPen(cd.textColor);
        const QRect textRect = cd.rect.adjusted(2, 0, -2, 0);
        p->setClipRect(cd.rect);
        p->drawText(textRect, int(opt.displayAlignment), opt.text);
        p->restore();
    }

private:
    DataGrid* grid_;
};

}  // namespace

// ---------------------------------------------------------------- grid

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new DatasetModel(this))
{
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // The selected row stays marked when the grid loses the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        syncSelection();
    });
}

void DataGrid::setDataset(Dataset* ds)
{
    for (const auto& c : links_) disconnect(c);
    links_.clear();
    model_->setDataset(ds);
    if (ds) links_ << connect(ds, &Dataset::currentMoved, this, &DataGrid::syncSelection);
    syncSelection();
}

void DataGrid::setColumns(const QList<GridColumn>& columns)
{
    model_->setColumns(columns);
    applyWidths();
}

void DataGrid::setColumnVisible(int column, bool visible)
{
    QList<GridColumn> cols = model_->columns();
    if (column < 0 || column >= cols.size()) return;
    cols[column].visible = visible;
    setColumns(cols);
}

void DataGrid::applyWidths()
{
    const auto& cols = model_->columns();
    for (int i = 0; i < cols.size(); ++i) {
        setColumnWidth(i, cols[i].width);
        setColumnHidden(i, !cols[i].visible);
    }
}

void DataGrid::setEditable(bool on)
{
    model_->setEditable(on);
    verticalHeader()->setVisible(on);
    // Typing, F2 or a double click starts editing a cell; moving into it does not.
    setEditTriggers(on ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked
                             | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(on ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
}

QVariant DataGrid::rowValue(int row, const QString& field) const
{
    Dataset* ds = dataset();
    if (!ds || !ds->isOpen()) return {};
    const int col = ds->fieldIndex(field);
    return col < 0 ? QVariant() : ds->valueAt(row, col);
}

void DataGrid::syncSelection()
{
    Dataset* ds = dataset();
    if (syncing_ || !ds) return;
    syncing_ = true;
    const int row = ds->isOpen() ? ds->currentRow() : -1;
    if (row >= 0 && row < model_->rowCount()) {
        int col = currentIndex().isValid() ? currentIndex().column() : qMax(lastColumn_, 0);
        while (col < model_->columnCount() - 1 && isColumnHidden(col)) ++col;
        setCurrentIndex(model_->index(row, col));
        scrollTo(model_->index(row, col));
    } else {
        clearSelection();
    }
    syncing_ = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // While a row comes or goes the view moves its current index by itself; the dataset says where its
    // current row is right after.
    if (!syncing_ && !model_->changingRows() && current.isValid() && dataset() && dataset()->isOpen()
        && current.row() != dataset()->currentRow()) {
        syncing_ = true;
        guarded([&] { dataset()->moveToRow(current.row()); })();
        syncing_ = false;
    }
    if (current.isValid() && current.column() != lastColumn_) {
        const int left = lastColumn_;
        lastColumn_ = current.column();  // a reload inside the handlers comes back to this column
        // Announced once the view has finished moving (and closed its cell editor), so that handlers
        // may store and re-read the rows.
        QMetaObject::invokeMethod(
            this,
            [this, left, entered = current.column()] {
                if (left >= 0) emit columnExit(left);
                emit columnEnter(entered);
            },
            Qt::QueuedConnection);
    }
}

void DataGrid::keyPressEvent(QKeyEvent* e)
{
    Dataset* ds = dataset();
    const bool editable = editTriggers() != NoEditTriggers;
    if (editable && ds && ds->isOpen()) {
        const QModelIndex cur = currentIndex();
        const bool lastRow = !cur.isValid() || cur.row() >= model_->rowCount() - 1;
        int lastVisible = model_->columnCount() - 1;
        while (lastVisible > 0 && isColumnHidden(lastVisible)) --lastVisible;
        const bool moveBelow = (e->key() == Qt::Key_Down && e->modifiers() == Qt::NoModifier)
                               || (e->key() == Qt::Key_Tab && (!cur.isValid() || cur.column() >= lastVisible));
        if (moveBelow && lastRow && ds->state() != Dataset::State::Insert) {
            guarded([&] {
                ds->append();
                int first = 0;
                while (first < model_->columnCount() - 1 && isColumnHidden(first)) ++first;
                setCurrentIndex(model_->index(ds->currentRow(), e->key() == Qt::Key_Tab ? first : qMax(cur.column(), 0)));
            })();
            return;
        }
        if (e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier)) {
            guarded([&] {
                if (ds->isEmpty() || (canDeleteRow_ && !canDeleteRow_())) return;
                if (msg::askYesNo(QStringLiteral("Удаление"), QStringLiteral("Удалить запись?"))) ds->remove();
            })();
            return;
        }
    }
    QTableView::keyPressEvent(e);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    emit dblClick();
}
