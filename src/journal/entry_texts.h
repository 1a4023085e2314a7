#pragma once
#include <QString>


// The text that names an operation in the editor: mark, kind and stage joined by "; ".
QString operationDescription(const QString& marka, const QString& vid, int naimen);

// Painting operations (the text contains "КРАСКА" in any letter case) are entered with a colour.
bool isPaintingOperation(const QString& text);
