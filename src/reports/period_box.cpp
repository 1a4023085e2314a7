#include "reports/period_box.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

PeriodBox makePeriodBox(const QString& caption, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QStringLiteral("GroupBox1"));
    auto labelled = [box](const QString& text, const char* label, const char* picker) {
        auto* l = new QLabel(text, box);
        l->setObjectName(QLatin1String(label));
        auto* p = new QDateEdit(box);
        p->setObjectName(QLatin1String(picker));
        p->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        p->setCalendarPopup(true);
        l->setBuddy(p);
        return std::pair{l, p};
    };
    const auto [fromLabel, from] = labelled(QStringLiteral("&с"), "Label1", "DTPicker1");
    const auto [toLabel, to] = labelled(QStringLiteral("&по"), "Label2", "DTPicker2");
    auto* dates = new QGridLayout(box);
    dates->addWidget(fromLabel, 0, 0);
    dates->addWidget(from, 0, 1);
    dates->addWidget(toLabel, 1, 0);
    dates->addWidget(to, 1, 1);
    return {box, fromLabel, from, toLabel, to};
}
