#include "store/reads/people.h"

namespace store::reads {

std::vector<PersonLogin> people(const Db& db)
{
    std::vector<PersonLogin> found;
    const FetchedRows rows = fetch(db, QStringLiteral("select name::text as name, role from piecework.people()"));
    for (const auto& r : rows.rows) {
        const QString word = r.value(1).toString();
        Role role = Role::None;
        for (Role candidate : {Role::Bursar, Role::Foreman, Role::Depot, Role::Full})
            if (roleWord(candidate) == word) role = candidate;
        found.push_back({r.value(0).toString(), role});
    }
    return found;
}

}  // namespace store::reads
