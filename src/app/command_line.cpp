#include "app/command_line.h"

#include "store/connection.h"
#include "store/personal.h"
#include "journal/version_gate.h"

#include <QString>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

QString helpText()
{
    return QStringLiteral(
               "Usage: piecework [DATABASE SERVER]\n"
               "       piecework --help | --version\n"
               "\n"
               "The journal, time sheets and reports of a piecework shop, kept in one PostgreSQL database\n"
               "that every workstation of the shop shares.\n"
               "\n"
               "  DATABASE   the database name (default: %1)\n"
               "  SERVER     the database server's address (default: %2)\n"
               "             Both are used only when SERVER is given; DATABASE alone is ignored.\n"
               "\n"
               "The program signs in to the database as user sys on port 5432 through the ODBC driver\n"
               "registered as \"PostgreSQL Unicode\" (unixODBC with the PostgreSQL ODBC driver). Where the\n"
               "shop has turned personal sign-in on, each person signs in with their own name and password,\n"
               "over TLS, checking the server's certificate against /etc/piecework/root.crt when present.\n"
               "A shop's database is prepared once with piecework-db.\n"
               "\n"
               "  -h, --help  print this text and end\n"
               "  --version   print the build stamp and end\n")
        .arg(defaultDatabaseName(), defaultServerAddress());
}

}  // namespace

int answerInformationalOption(int argc, char** argv)
{
    if (argc < 2) return -1;
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        print(helpText());
        return 0;
    }
    if (std::strcmp(first, "--version") == 0) {
        // The same numbers as the sign-in window's caption and the stamp the database keeps.
        const BuildStamp stamp = compiledBuildStamp();
        print(QStringLiteral("piecework build %1.%2\n").arg(stamp.date).arg(stamp.time));
        return 0;
    }
    // Not for people: piecework-db has the server store a password's verifier computed here, so the
    // password is read from standard input and never appears on a command line or reaches the server.
    if (std::strcmp(first, "--scram-verifier") == 0) {
        std::string line;
        for (int c; (c = std::getchar()) != EOF && c != '\n';) line.push_back(char(c));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) return 2;
        print(personal::scramVerifier(QString::fromUtf8(line)) + u'\n');
        return 0;
    }
    return -1;
}
