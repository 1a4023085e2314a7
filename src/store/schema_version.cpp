#include "store/schema_version.h"

namespace store {

int schemaVersion(const Db& db)
{
    // The version table itself may be missing; a statement naming it would fail to parse.
    if (!scalar(db, QStringLiteral("select to_regclass('piecework.schema_version') is not null as found")).toBool()) return 0;
    return int(scalarInt(db, QStringLiteral("select coalesce(max(version), 0) as version from piecework.schema_version")));
}

QString outdatedSchemaText(int found, const QString& database, const QString& server)
{
    return QStringLiteral("База данных %1 на сервере %2 подготовлена для более ранней версии программы "
                          "(версия схемы %3, нужна %4). Обновите ее командой\n\npiecework-db %1 %2\n\n"
                          "Данные при обновлении не меняются.")
        .arg(database, server)
        .arg(found)
        .arg(kSchemaVersion);
}

}  // namespace store
