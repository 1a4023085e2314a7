#pragma once
#include "core/dataset.h"

// Reads a snapshot again and returns to the record number it was on (the last row when there are fewer now).
inline void reopenAtSameRecord(Dataset& ds)
{
    const int recNo = ds.recNo();
    ds.close();
    ds.open();
    if (recNo >= 1) ds.setRecNo(recNo);
}
