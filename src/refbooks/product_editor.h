#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"

#include <QString>

// A product as its list shows it: the key, the mark and the boxes as texts.
struct ProductRow {
    qint64 id = 0;
    QString mark;
    QString boxes;
    store::RowAsRead asRead;  // as the list read it
};

// The product editor "Изделие": the mark and its rate; the product group is derived from the mark.
class TForm7 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm7(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Марка"
    QLineEdit* Edit2;  // "Расценка"

    qint64 ProductId = 0;  // the product being changed

    // Empty boxes and the caption of a new product.
    void presetForAdd();
    // The product's mark and boxes and the caption of a change.
    void presetForChange(const ProductRow& row);

    void Button1Click() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool Edit2KeyPress(const QString& typed);  // true when the key is taken away from the box
};
