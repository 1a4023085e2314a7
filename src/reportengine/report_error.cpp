#include "reportengine/report_error.h"

namespace re {

ReportError::ReportError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

} // namespace re
