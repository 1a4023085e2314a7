#pragma once
#include <QString>

// The product group (izdel.nom) a mark belongs to, by the shop's table of mark prefixes; the summary
// reports group output by it. A mark no prefix fits is its own group: its first three characters as typed.
QString productGroup(const QString& mark);
