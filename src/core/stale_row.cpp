#include "core/stale_row.h"

#include "core/history_text.h"
#include "core/messages.h"

#include <QStringList>

namespace {

// "ivanova (Мастер смены), рабочее место ivanova@cex-2, 11.12.2026 12:40:05": the person or the role's word
// the program passed, the database user for a writer that passed nothing (the old program), and where from.
QString whoAndWhen(const store::reads::HistoryVersion& v)
{
    QStringList parts;
    const QString role = historytext::roleName(v.role);
    if (!v.actor.isEmpty())
        parts << (role.isEmpty() || role == v.actor ? v.actor : QStringLiteral("%1 (%2)").arg(v.actor, role));
    else
        parts << QStringLiteral("пользователь базы %1").arg(v.dbUser);
    if (!v.workstation.isEmpty())
        parts << QStringLiteral("рабочее место %1").arg(v.workstation);
    else if (!v.address.isEmpty())
        parts << QStringLiteral("адрес %1").arg(v.address);
    parts << historytext::momentText(v.at);
    return parts.join(QStringLiteral(", "));
}

QString shown(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("(пусто)") : value;
}

}  // namespace

QString staleRowText(const store::Answer& answer, const QString& tail)
{
    const store::RowChange& change = answer.change;
    QStringList lines;
    if (answer == store::Outcome::Gone) {
        lines << QStringLiteral("Эту запись удалили на другом рабочем месте, пока она была открыта здесь.");
        if (change.last && change.last->op == QLatin1String("delete"))
            lines << QStringLiteral("Удалил: %1.").arg(whoAndWhen(*change.last));
    } else {
        lines << QStringLiteral("Эту запись изменили на другом рабочем месте, пока она была открыта здесь:");
        for (const store::reads::HistoryField& f : change.fields)
            lines << QStringLiteral("%1: %2 → %3")
                         .arg(f.caption, shown(historytext::valueText(f, false)), shown(historytext::valueText(f, true)));
        if (change.last) lines << QStringLiteral("Изменил: %1.").arg(whoAndWhen(*change.last));
    }
    if (!tail.isEmpty()) lines << tail;
    return lines.join(u'\n');
}

void tellStaleRow(const store::Answer& answer, const QString& tail)
{
    msg::error(staleRowText(answer, tail));
}

void tellIfNotDeleted(const store::Answer& answer)
{
    if (answer == store::Outcome::Changed)
        tellStaleRow(answer, QStringLiteral("Запись не удалена. Список показывает её такой, какая она сейчас."));
    else if (answer == store::Outcome::Gone)
        tellStaleRow(answer, QString());
}
