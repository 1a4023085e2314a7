#pragma once
#include "store/role.h"
#include "store/store.h"

#include <QString>
#include <vector>

namespace store::reads {

// A person who signs in by name to this database, and the role of their group.
struct PersonLogin {
    QString name;
    Role role = Role::None;
};

// The people of this database's personal sign-in, by name (the database checks that full access asks).
std::vector<PersonLogin> people(const Db& db);

}  // namespace store::reads
