#include "core/error_report.h"

#include "core/db_error.h"
#include "core/messages.h"

void reportError(const std::exception& e)
{
    if (auto db = dynamic_cast<const DbError*>(&e))
        msg::error(db->text());
    else
        msg::error(QString::fromLocal8Bit(e.what()));
}

void reportUnknownError()
{
    msg::error(QString());
}
