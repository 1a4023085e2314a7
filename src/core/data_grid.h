#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>

class Dataset;

// One grid column bound to a field by name.
struct GridColumn {
    QString field;
    QString title;
    int width = 64;                            // pixels
    Qt::Alignment alignment = Qt::AlignLeft;
    bool visible = true;
    bool readOnly = false;
    std::optional<QFont> font;
    std::optional<QColor> color;      // background of the cells
    std::optional<QColor> textColor;  // text of the cells
    std::optional<QColor> titleColor; // text of the title
};

// What the per-cell hook may change before the cell text is drawn the normal way.
struct CellDraw {
    QRect rect;
    int column = 0;
    QString field;
    bool selected = false;
    int row = 0;
    QFont font;
    QColor textColor;
    QColor background;
    bool fillBackground = false;  // fill the rectangle with `background` first
};

// Shows the visible rows of a dataset; the grid's current row is the dataset's current row.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject* parent = nullptr);
    void setDataset(Dataset* ds);
    Dataset* dataset() const { return ds_; }
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return columns_; }
    int fieldColumn(int gridColumn) const;  // -1 when the dataset lacks the field

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void setEditable(bool on) { editable_ = on; }
    // True while a single row is being added or removed.
    bool changingRows() const { return changingRows_; }

private:
    void reset();
    QPointer<Dataset> ds_;
    QList<GridColumn> columns_;
    QVector<int> fieldCols_;
    int shownRows_ = 0;
    bool editable_ = false;
    bool changingRows_ = false;
    QList<QMetaObject::Connection> links_;
};

// A data grid: whole-row selection that stays visible without focus, column and row lines, bold centred
// titles, resizable columns; a per-cell draw hook, double click, and column enter/exit for editable grids.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setDataset(Dataset* ds);  // the data source; may be exchanged at run time
    Dataset* dataset() const { return model_->dataset(); }
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return model_->columns(); }
    void setColumnVisible(int column, bool visible);
    DatasetModel* datasetModel() const { return model_; }

    // In-place editing (norms grid): moving below the last row starts a new one, the row indicator
    // marks the current row, and deleting a row from the keyboard (Ctrl+Del) asks first.
    void setEditable(bool on);
    // Decides whether a row may be deleted from the keyboard (for example never the last one).
    void setCanDeleteRow(std::function<bool()> check) { canDeleteRow_ = std::move(check); }

    using DrawHook = std::function<void(CellDraw&, DataGrid&)>;
    void setDrawCellHook(DrawHook hook) { drawHook_ = std::move(hook); }
    const DrawHook& drawCellHook() const { return drawHook_; }

    // Value of a field in a grid row (for hooks).
    QVariant rowValue(int row, const QString& field) const;

signals:
    void dblClick();
    void columnEnter(int column);
    void columnExit(int column);

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void syncSelection();
    void applyWidths();
    DatasetModel* model_;
    DrawHook drawHook_;
    std::function<bool()> canDeleteRow_;
    QList<QMetaObject::Connection> links_;
    bool syncing_ = false;
    int lastColumn_ = -1;
};
