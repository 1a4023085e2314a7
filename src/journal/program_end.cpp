#include "journal/program_end.h"

#include <QCoreApplication>

namespace programend {
namespace {

bool& flag()
{
    static bool requested = false;
    return requested;
}

std::function<void()>& action()
{
    static std::function<void()> a;
    return a;
}

}  // namespace

void request()
{
    flag() = true;
    if (action())
        action()();
    else
        QCoreApplication::exit(0);
}

bool requested()
{
    return flag();
}

void setAction(std::function<void()> a)
{
    action() = std::move(a);
    flag() = false;
}

}  // namespace programend
