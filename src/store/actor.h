#pragma once
#include "store/role.h"

#include <QString>

namespace store {

// Who acts, and where: the role signed in (a person too, once people sign in by name), the workstation's
// host name and the operating system's user. Every unit of work carries one and tells the database.
struct Actor {
    Role role = Role::None;
    QString person;  // empty while the role is chosen by a sign-in word
    QString host;
    QString osUser;

    // The role on this workstation, as the operating system names it.
    static Actor here(Role role, const QString& person = QString());

    // The actor as the database is told: the person, or the role's word when there is none.
    QString name() const;
    // "user@host".
    QString workstation() const;
};

}  // namespace store
