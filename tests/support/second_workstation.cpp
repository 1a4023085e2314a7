#include "support/second_workstation.h"

#include "core/connection.h"
#include "core/db_error.h"

#include <QSqlDatabase>

namespace {
int counter = 0;
}

SecondWorkstation::SecondWorkstation(const QString& odbcString, std::function<void(const store::Db&, SecondWorkstation&)> work)
{
    const QString name = QStringLiteral("second workstation %1").arg(++counter);
    thread_ = std::thread([this, name, odbcString, work = std::move(work)] {
        {
            try {
                openConnection(name, odbcString);
                work(store::Db{name}, *this);
            } catch (const DbError& e) {
                error_ = e.text();
            } catch (const std::exception& e) {
                error_ = QString::fromLocal8Bit(e.what());
            }
            QSqlDatabase::database(name, false).close();
        }
        QSqlDatabase::removeDatabase(name);
        reached();
    });
}

SecondWorkstation::~SecondWorkstation()
{
    join();
}

void SecondWorkstation::join()
{
    if (thread_.joinable()) thread_.join();
}
