#include "journal/version_gate.h"

#include "core/dataset.h"
#include "journal/instances.h"
#include "journal/journal_window.h"
#include "core/messages.h"
#include "journal/program_end.h"
#include "journal/signin_window.h"

#include <QScopeGuard>
#include <QTimer>

BuildStamp compiledBuildStamp()
{
    return parseBuildStamp(QStringLiteral(__DATE__), QStringLiteral(__TIME__));
}

namespace {

BuildStamp storedStamp(Dataset& ver)
{
    return {ver.fieldByName(QStringLiteral("d")).asInteger(), ver.fieldByName(QStringLiteral("t")).asInteger()};
}

}  // namespace

void checkVersion()
{
    // Once the gate has tripped (its timer runs) the end is on its way; another check would only repeat
    // the message.
    if (programend::requested() || (Form23 && Form23->Timer1->isActive())) return;

    const BuildStamp build = compiledBuildStamp();
    Form1->BuildDate = build.date;
    Form1->BuildTime = build.time;

    Dataset& ver = *Form1->ver;
    // Closed on every way out, an error included, so that the next check reads the table afresh.
    const auto closeVer = qScopeGuard([&ver] { ver.close(); });
    ver.open();
    ver.first();
    BuildStamp stored = storedStamp(ver);
    if (builtBefore(stored, build)) {
        ver.edit();  // on an empty table this starts its first row
        ver.fieldByName(QStringLiteral("d")).setInteger(build.date);
        ver.fieldByName(QStringLiteral("t")).setInteger(build.time);
        ver.post();
        stored = storedStamp(ver);
    }
    if (builtBefore(build, stored)) {
        // Started before the message, so that the box closes by itself and the program ends even when
        // nobody answers it.
        if (Form23) Form23->Timer1->start();
        msg::error(QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин."));
        programend::request();
    }
}
