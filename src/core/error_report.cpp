#include "core/error_report.h"

#include "store/db_error.h"
#include "store/month_store.h"
#include "core/messages.h"

void reportError(const std::exception& e)
{
    QString text;
    if (auto db = dynamic_cast<const DbError*>(&e)) {
        // The driver's text for these means nothing to the user; what happened and what to do does.
        if (db->kind() == DbError::Kind::ConnectionLost) {
            msg::error(kConnectionLostText);
            return;
        }
        if (db->kind() == DbError::Kind::Busy) {
            msg::error(kRowBusyText);
            return;
        }
        // The database's words without the driver's wrapping around them.
        text = db->kind() == DbError::Kind::MonthClosed ? store::closedMonthMessage(db->text()) : db->text();
    } else
        text = QString::fromLocal8Bit(e.what());
    if (text.trimmed().isEmpty()) {
        reportUnknownError();
        return;
    }
    msg::error(text);
}

void reportUnknownError()
{
    // Nothing is known of it but that the action did not finish: say so rather than show an empty box.
    msg::error(QStringLiteral("Неизвестная ошибка: действие не выполнено."));
}
