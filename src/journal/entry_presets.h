#pragma once
#include <QDate>
#include <QString>

class Dataset;
class TForm11;

// How the journal window prepares the entry editor before showing it.

// A new entry on the given date: empty boxes, rejects and hours "0".
void presetEntryForAdd(TForm11& editor, const QDate& date);

// A change of the entry that is the current row of a journal dataset.
void presetEntryForChange(TForm11& editor, Dataset& entry);

// The text that names an operation in the editor: mark, kind and stage joined by "; ".
QString operationDescription(const QString& marka, const QString& vid, int naimen);

// Painting operations (the text contains "КРАСКА" in any letter case) are entered with a colour.
bool isPaintingOperation(const QString& text);
