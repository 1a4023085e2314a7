#pragma once
#include "store/store.h"

#include <QString>

// The books' duplicate checks, serialised per book: inside a verb's transaction, the book's lock first,
// then the count; the lock is held until the transaction ends, so a second workstation's count waits for
// the first one's row.
namespace store::booklock {

enum class Book { Products = 1, Kinds = 2, Operations = 3 };

// Takes the book's lock and runs the count statement; true when a row like the one to write is there.
bool lockAndFindSame(Work& work, Book book, const QString& countStatement);

}  // namespace store::booklock
