#include "store/personal.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace personal {
namespace {

// libpq's keyword value in single quotes: a quote and a backslash escaped.
QString libpqQuoted(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

QByteArray hmac(const QByteArray& key, const QByteArray& message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

// PBKDF2-HMAC-SHA256, one block: the 32 bytes SCRAM-SHA-256 uses.
QByteArray pbkdf2(const QByteArray& password, const QByteArray& salt, int iterations)
{
    QByteArray u = hmac(password, salt + QByteArray("\0\0\0\1", 4));
    QByteArray result = u;
    for (int i = 1; i < iterations; ++i) {
        u = hmac(password, u);
        for (int j = 0; j < result.size(); ++j) result[j] = char(result[j] ^ u[j]);
    }
    return result;
}

bool anyOf(const QString& text, std::initializer_list<const char*> fragments)
{
    for (const char* f : fragments)
        if (text.contains(QString::fromUtf8(f), Qt::CaseInsensitive)) return true;
    return false;
}

}  // namespace

QString odbcBraced(const QString& value)
{
    QString v = value;
    v.replace(u'}', QStringLiteral("}}"));
    return u'{' + v + u'}';
}

QString connectionString(const QString& database, const QString& server, const QString& name,
                         const QString& password, const QString& caFile)
{
    // The driver takes UID as it is written, braces and all, so the name travels in libpq's own options,
    // quoted; the password in braces.
    const bool verify = !caFile.isEmpty() && QFileInfo(caFile).isReadable();
    QString libpq = QStringLiteral("user=") + libpqQuoted(name);
    if (verify) libpq += QStringLiteral(" sslrootcert=") + libpqQuoted(caFile);
    return QStringLiteral("DRIVER={PostgreSQL UNICODE};DATABASE=") + database
        + QStringLiteral(";SERVER=") + server
        + QStringLiteral(";PORT=5432;UID=;PWD=") + odbcBraced(password)
        + (verify ? QStringLiteral(";SSLmode=verify-full;") : QStringLiteral(";SSLmode=require;"))
        + QStringLiteral("ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;"
                         "ShowSystemTables=0;Fetch=100;UnknownSizes=0;MaxVarcharSize=255;MaxLongVarcharSize=8190;")
        + QStringLiteral("Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;UnknownsAsLongVarchar=0;"
                         "BoolsAsChar=1;Parse=0;ExtraSysTablePrefixes=;LFConversion=1;UpdatableCursors=1;")
        + QStringLiteral("TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;"
                         "LowerCaseIdentifier=0;D6=-101;OptionalErrors=0;XaOpt=1;pqopt=")
        + odbcBraced(libpq);
}

ConnectFailure classify(const QString& text)
{
    // The server's words in English and in its Russian translation.
    if (anyOf(text, {"does not support SSL", "не поддерживает SSL", "SSL off", "no encryption", "без шифрования"}))
        return ConnectFailure::NoTls;
    if (anyOf(text, {"certificate verify failed", "server certificate", "root certificate", "does not match host name",
                     "сертификат"}))
        return ConnectFailure::Certificate;
    if (anyOf(text, {"password authentication failed", "is not permitted to log in", "permission denied for database",
                     "no pg_hba.conf entry", "pg_hba.conf rejects", "authentication failed", "no password supplied",
                     "проверку подлинности", "вход запрещён", "вход запрещен", "нет доступа к базе данных",
                     "в pg_hba.conf нет записи", "не указан пароль"}))
        return ConnectFailure::SignInRefused;
    return ConnectFailure::Unreachable;
}

bool modeOn(const store::Db& db)
{
    return store::scalarInt(db, QStringLiteral("select count(*) as cnt from piecework.access_mode")) > 0;
}

store::Role signedInRole(const store::Db& db)
{
    const QString word = store::scalar(db, QStringLiteral("select piecework.my_role() as role")).toString();
    if (word == u"full") return store::Role::Full;
    if (word == u"bursar") return store::Role::Bursar;
    if (word == u"foreman") return store::Role::Foreman;
    if (word == u"depot") return store::Role::Depot;
    return store::Role::None;
}

QByteArray saslPrepared(const QString& password)
{
    bool ascii = true;
    for (QChar c : password) ascii = ascii && c.unicode() < 0x80;
    if (ascii) return password.toUtf8();
    QString mapped;
    for (QChar c : password) {
        const char16_t u = c.unicode();
        // Mapped to nothing.
        if (u == 0x00AD || u == 0x034F || u == 0x1806 || (u >= 0x180B && u <= 0x180D) || (u >= 0x200B && u <= 0x200D)
            || u == 0x2060 || (u >= 0xFE00 && u <= 0xFE0F) || u == 0xFEFF)
            continue;
        // Spaces other than the plain one become it.
        if (u != 0x20 && c.isSpace() && u >= 0x80) {
            mapped += u' ';
            continue;
        }
        mapped += c;
    }
    const QString normalized = mapped.normalized(QString::NormalizationForm_KC);
    // A password holding characters SASLprep forbids is used as its bytes, as the server does.
    for (QChar c : normalized)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_PrivateUse
            || c.category() == QChar::Other_Surrogate || c.category() == QChar::Other_NotAssigned)
            return password.toUtf8();
    return normalized.toUtf8();
}

QString scramVerifier(const QString& password, const QByteArray& givenSalt)
{
    constexpr int kIterations = 4096;
    QByteArray salt = givenSalt;
    if (salt.isEmpty()) {
        salt.resize(16);
        QRandomGenerator* random = QRandomGenerator::system();
        for (char& b : salt) b = char(random->bounded(256));
    }
    const QByteArray salted = pbkdf2(saslPrepared(password), salt, kIterations);
    const QByteArray storedKey = QCryptographicHash::hash(hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = hmac(salted, "Server Key");
    return QStringLiteral("SCRAM-SHA-256$%1:%2$%3:%4")
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(storedKey.toBase64()),
             QString::fromLatin1(serverKey.toBase64()));
}

}  // namespace personal
