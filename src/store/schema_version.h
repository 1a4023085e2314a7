#pragma once
#include "store/store.h"

namespace store {

// The piecework schema this program needs: db/upgrade/NNN-*.sql up to this number. piecework-db brings a
// shop's database there.
constexpr int kSchemaVersion = 3;

// The database's schema version: 0 for a database that an earlier version prepared (no piecework schema).
int schemaVersion(const Db& db);

// The program's words for a database older than the program: which command brings it up to date.
QString outdatedSchemaText(int found, const QString& database, const QString& server);

}  // namespace store
