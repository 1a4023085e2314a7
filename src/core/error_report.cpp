#include "core/error_report.h"

#include "core/db_error.h"
#include "core/messages.h"

void reportError(const std::exception& e)
{
    QString text;
    if (auto db = dynamic_cast<const DbError*>(&e))
        text = db->text();
    else
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
