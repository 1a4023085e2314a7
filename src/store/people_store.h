#pragma once
#include "store/role.h"
#include "store/store.h"

#include <QString>

// Managing the people who sign in by name, for full access. The database does the work in functions that
// check the caller's group and the name themselves; a password leaves the program only as its SCRAM
// verifier. Each answers nothing and throws DbError with the server's reason when refused.
namespace store {

// Adds a person with a role (bursar, foreman, depot, full) and a password.
void addPerson(const Session& s, const QString& name, Role role, const QString& password);
void setPersonRole(const Session& s, const QString& name, Role role);
void setPersonPassword(const Session& s, const QString& name, const QString& password);
void removePerson(const Session& s, const QString& name);

}  // namespace store
