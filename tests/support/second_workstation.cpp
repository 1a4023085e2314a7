#include "support/second_workstation.h"

#include "store/connection.h"
#include "support/test_database.h"
#include "store/db_error.h"

#include <QSqlDatabase>

namespace {
int counter = 0;
}

SecondWorkstation::SecondWorkstation(const QString& odbcString, std::function<void(const store::Session&, SecondWorkstation&)> work)
{
    const QString name = QStringLiteral("second workstation %1").arg(++counter);
    thread_ = std::thread([this, name, odbcString, work = std::move(work)] {
        {
            try {
                openConnection(name, odbcString);
                work(fullAccess(name), *this);
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
