#include "reportengine/row_source.h"

namespace re {

int RowSource::fieldIndex(const QString& name) const
{
    const int count = fieldCount();
    for (int i = 0; i < count; ++i) {
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace re
