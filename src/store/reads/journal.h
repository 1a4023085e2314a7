#pragma once
#include "store/reads/read.h"

// Reads of the shift journal.
namespace store::reads {

// The journal dataset of shift 1, 2, 3 or 4 (overtime), Smena1 ... Smena4: the entries of the date :data
// but those whose mark equals :ok. Shift 1 names the worker by the person whose id is the worker number and
// orders by name, mark, kind, group and colour; the others match the personal code and order by name.
Read journalShift(int shift);

// One journal entry, :id, as the journal shows an entry: what an editor shows again when the entry changed
// elsewhere meanwhile.
Read journalEntry();

// The stored build stamp, ver: the one row of the version table, written back by its original values.
Read versionStamp();

}  // namespace store::reads
