#pragma once
#include "store/store.h"
#include "store/version_stamp.h"

// The build stamp kept in accounts_dep.ver: the newest build that has run against the database.
namespace store {

// Reads the stored stamp (the table's first row; an empty value reads 0) and raises it to `running` when
// the running build is newer; on an empty table that adds the first row. Answers the stamp stored now.
// One unit of work (Action::StampVersion, open to every role and to nobody signed in yet). The statements
// are the ones the old program's table dataset sends, so both keep sharing the row: the row is rewritten
// by every original value, there being no key.
BuildStamp stampVersion(const Session& s, const BuildStamp& running);

}  // namespace store
