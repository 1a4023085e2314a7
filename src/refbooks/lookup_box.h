#pragma once
#include <QComboBox>
#include <QVariant>

class Dataset;

// A drop-down list over a lookup table: shows s_caption, keyed by id. Nothing is chosen at first; the chosen
// key survives a reload of the table while that key is still there.
class LookupBox : public QComboBox {
    Q_OBJECT
public:
    explicit LookupBox(QWidget* parent = nullptr);

    void fill(Dataset* table);
    QVariant keyValue() const;
    // Moves the choice by one entry, as the Up and Down keys do (from no choice, to the first).
    void step(int by);
};
