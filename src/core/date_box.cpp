#include "core/date_box.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace datebox {
namespace {

// Owned by the box it watches.
class CalendarKeys : public QObject {
public:
    explicit CalendarKeys(QDateEdit* box) : QObject(box), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == box_ && event->type() == QEvent::KeyPress && isCalendarKey(*static_cast<QKeyEvent*>(event))) {
            openCalendar(box_);
            return true;
        }
        return false;
    }

private:
    QDateEdit* box_;
};

}  // namespace

bool isCalendarKey(const QKeyEvent& press)
{
    return press.key() == Qt::Key_F4 || (press.key() == Qt::Key_Down && (press.modifiers() & Qt::AltModifier));
}

void openCalendar(QDateEdit* box)
{
    // Qt opens a date box's calendar from its arrow only: press the arrow.
    QStyleOptionComboBox arrow;
    arrow.initFrom(box);
    arrow.editable = true;
    arrow.subControls = QStyle::SC_All;
    const QPoint at = box->style()->subControlRect(QStyle::CC_ComboBox, &arrow, QStyle::SC_ComboBoxArrow, box).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
}

void openCalendarFromKeyboard(QDateEdit* box)
{
    box->installEventFilter(new CalendarKeys(box));
}

}  // namespace datebox
