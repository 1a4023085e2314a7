#pragma once

#include <QString>
#include <stdexcept>

namespace re {

// The one error the engine throws: a definition it cannot build, or output it cannot write.
// Thrown while a report is built or written, never while a page is laid out or painted.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

} // namespace re
