#include "store/people_store.h"

#include "store/personal.h"

namespace store {
namespace {

// One function of the database in its own unit of work; values bound, never in the statement's text.
void call(const Session& s, const QString& function, const QString& args, const Params& params)
{
    Work work(s, Action::ManagePeople);
    firstValue(work.db(), QStringLiteral("select 1 as done from (select piecework.%1(%2)) f").arg(function, args), params);
    work.commit();
}

}  // namespace

void addPerson(const Session& s, const QString& name, Role role, const QString& password)
{
    call(s, QStringLiteral("add_person"), QStringLiteral("(:n)::text::name, (:r)::text, (:v)::text"),
         {{QStringLiteral("n"), name}, {QStringLiteral("r"), roleWord(role)},
          {QStringLiteral("v"), personal::scramVerifier(password)}});
}

void setPersonRole(const Session& s, const QString& name, Role role)
{
    call(s, QStringLiteral("set_person_role"), QStringLiteral("(:n)::text::name, (:r)::text"),
         {{QStringLiteral("n"), name}, {QStringLiteral("r"), roleWord(role)}});
}

void setPersonPassword(const Session& s, const QString& name, const QString& password)
{
    call(s, QStringLiteral("set_person_password"), QStringLiteral("(:n)::text::name, (:v)::text"),
         {{QStringLiteral("n"), name}, {QStringLiteral("v"), personal::scramVerifier(password)}});
}

void removePerson(const Session& s, const QString& name)
{
    call(s, QStringLiteral("remove_person"), QStringLiteral("(:n)::text::name"), {{QStringLiteral("n"), name}});
}

}  // namespace store
