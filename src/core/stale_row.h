#pragma once
#include "store/row_check.h"

#include <QString>

// How every editor and list words a write refused because another workstation changed or deleted the row
// since the window read it (Outcome Changed or Gone): what changed, from what to what, by whom and when
// where the history tells it, then `tail` (what was not done, and what the window shows now).
QString staleRowText(const store::Answer& answer, const QString& tail);

// Shows it in an error box.
void tellStaleRow(const store::Answer& answer, const QString& tail);

// Whether the answer is such a refusal.
inline bool isStale(const store::Answer& answer)
{
    return answer == store::Outcome::Changed || answer == store::Outcome::Gone;
}

// After a list's delete, read again: tells, when another workstation changed the row since (not deleted)
// or deleted it first, how; nothing for any other answer.
void tellIfNotDeleted(const store::Answer& answer);
