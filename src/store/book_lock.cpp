#include "store/book_lock.h"

#include "store/books_store.h"

#include <QMutex>

namespace store {
namespace {

// A bigint key per book, apart from the month locks' keys (the worker locks use the two-key form).
constexpr qint64 kBookLockBase = 0x424B000000LL;

QMutex hookMutex;
std::function<void(const Db&)> checkHook;

}  // namespace

void setBookCheckHook(std::function<void(const Db&)> hook)
{
    QMutexLocker lock(&hookMutex);
    checkHook = std::move(hook);
}

namespace booklock {

bool lockAndFindSame(Work& work, Book book, const QString& countStatement)
{
    scalar(work.db(), QStringLiteral("select count(*) as cnt from (select pg_advisory_xact_lock(%1)) l")
                          .arg(kBookLockBase + int(book)));
    const bool found = scalarInt(work.db(), countStatement) > 0;
    std::function<void(const Db&)> hook;
    {
        QMutexLocker lock(&hookMutex);
        hook = checkHook;
    }
    if (hook) hook(work.db());
    return found;
}

}  // namespace booklock
}  // namespace store
