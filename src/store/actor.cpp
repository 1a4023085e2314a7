#include "store/actor.h"

#include <QSysInfo>
#include <QtGlobal>
#include <pwd.h>
#include <unistd.h>

namespace store {
namespace {

QString osUserName()
{
    // The account the program runs under, not what the environment claims.
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

}  // namespace

Actor Actor::here(Role role, const QString& person)
{
    return Actor{role, person, QSysInfo::machineHostName(), osUserName()};
}

QString Actor::name() const
{
    return person.isEmpty() ? roleWord(role) : person;
}

QString Actor::workstation() const
{
    return osUser + u'@' + host;
}

}  // namespace store
