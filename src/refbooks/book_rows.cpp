#include "refbooks/book_rows.h"

#include "core/dataset.h"
#include "core/sql_text.h"

QString sameNameCount(const QString& table, const QString& column, const QString& text, std::optional<qint64> except)
{
    QString s = QStringLiteral("select count(*) as cnt from accounts_dep.%1 where upper(%2)=upper(%3)")
                    .arg(table, column, sqltext::quote(text));
    if (except) s += QStringLiteral(" and id<>") + QString::number(*except);
    return s;
}

void storeRow(Dataset* list, bool adding, const std::function<void()>& fill)
{
    if (adding)
        list->insert();
    else
        list->edit();
    try {
        fill();
        list->post();
    } catch (...) {
        list->cancel();
        throw;
    }
    list->close();
    list->open();
}
