#pragma once
#include "store/role.h"
#include "store/store.h"

#include <QByteArray>
#include <QString>

// Personal sign-in: each person signs in to the database as a login role of their own, member of the
// group of one role, and the server refuses what that group may not do. The program learns the mode from
// the server: the shared user refused, or the database saying so.
namespace personal {

// Where a workstation keeps the shop's certificate authority; with it the server's certificate is checked,
// without it the connection is still encrypted.
inline constexpr char kShopCaFile[] = "/etc/piecework/root.crt";

// The ODBC connection string for a person: the shared mode's pairs with the person's name and password in
// place of the shared user's, and TLS required (the server's certificate verified against `caFile` when
// that file exists). Any text may be a name or a password: both travel quoted.
QString connectionString(const QString& database, const QString& server, const QString& name,
                         const QString& password, const QString& caFile = QString::fromLatin1(kShopCaFile));

// An ODBC value in braces, a closing brace doubled: read back as it is, whatever ; { } = it holds.
QString odbcBraced(const QString& value);

// Why a connection failed, read from the driver's text (the driver reports every failure to connect under
// one SQLSTATE; the server's own words tell which it was).
enum class ConnectFailure {
    Unreachable,   // no server, no database, a broken line
    SignInRefused, // wrong name or password, a role that may not log in, no right to connect here
    NoTls,         // TLS was required and the server does not offer it
    Certificate,   // the server's certificate does not match the shop's authority
};
ConnectFailure classify(const QString& driverText);

// Whether the database says personal sign-in is on (read as the shared user).
bool modeOn(const store::Db& db);

// The role of the signed-in person from their group in this database; None when in no group.
store::Role signedInRole(const store::Db& db);

// The SCRAM-SHA-256 verifier of a password, as the server stores it (4096 iterations, a random salt unless
// one is given). The password itself never needs to reach the server.
QString scramVerifier(const QString& password, const QByteArray& salt = QByteArray());

// The password prepared as the server and libpq prepare it before hashing (SASLprep, in the main).
QByteArray saslPrepared(const QString& password);

}  // namespace personal
