#pragma once
#include <QList>
#include <QString>

namespace reliability {

// A text a user might paste into a box, and whether the program must refuse it (the database cannot hold it,
// or the connection would not read it back as it was).
struct HostileText {
    const char* name;
    QString text;
    bool refused = false;
};

QList<HostileText> hostileTexts();

}  // namespace reliability
