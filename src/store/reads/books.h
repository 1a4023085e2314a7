#pragma once
#include "store/reads/read.h"

// Reads of the reference books.
namespace store::reads {

Read workers();         // Workers: the workers book, by name
Read products();        // Izdel: products by mark, edited in place
Read operationKinds();  // Vid_oper: kinds of operation by name, edited in place
Read operations();      // Oper: operations with norms, each with its count of norms and lowest price
Read norms();           // norm: the whole norms table, edited in place
Read priceList();       // XLS_Rep of the operations book: every operation at its own price

// The worker editor's look-up tables, each read whole from the enterprise database.
Read roles();           // roles
Read staffPositions();  // staffpos
Read departments();     // department

}  // namespace store::reads
