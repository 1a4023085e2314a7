#include "error_report.h"

#include "db_error.h"
#include "messages.h"

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
