#include "journal/version_gate.h"

#include "core/data_module.h"
#include "journal/instances.h"
#include "journal/journal_window.h"
#include "core/messages.h"
#include "journal/program_end.h"
#include "journal/signin_window.h"
#include "store/version_store.h"

#include <QTimer>

BuildStamp compiledBuildStamp()
{
    return parseBuildStamp(QStringLiteral(__DATE__), QStringLiteral(__TIME__));
}

void checkVersion()
{
    // Once the gate has tripped (its timer runs) the end is on its way; another check would only repeat
    // the message.
    if (programend::requested() || (Form23 && Form23->Timer1->isActive())) return;

    const BuildStamp build = compiledBuildStamp();
    Form1->BuildDate = build.date;
    Form1->BuildTime = build.time;

    // The store raises the stored stamp when this build is newer; what it answers is the stamp now stored.
    const BuildStamp stored = store::stampVersion(Form1->data_.session(), build);
    if (builtBefore(build, stored)) {
        // Started before the message, so that the box closes by itself and the program ends even when
        // nobody answers it.
        if (Form23) Form23->Timer1->start();
        msg::error(QStringLiteral("Версия программы не соответсвует БД! Запустите программу через 5 мин."));
        programend::request();
    }
}
