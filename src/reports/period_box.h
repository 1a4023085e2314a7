#pragma once
#include <QString>

class QDateEdit;
class QGroupBox;
class QLabel;
class QWidget;

// The period of a report window: a group box with the dates "с" and "по", each with its label as buddy,
// named GroupBox1, Label1, DTPicker1, Label2 and DTPicker2 as the windows name them.
struct PeriodBox {
    QGroupBox* box;
    QLabel* fromLabel;
    QDateEdit* from;
    QLabel* toLabel;
    QDateEdit* to;
};

PeriodBox makePeriodBox(const QString& caption, QWidget* parent);
