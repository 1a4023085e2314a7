#pragma once
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "refbooks/book_opening.h"

class DataGrid;
class Dataset;
class ListWindow;
class QDialog;

// The reference books' windows, made once per test binary as the program makes them at start
// (the data module first, then Form2 ... Form11).
void createBookWindows();

// Runs `step` on the next modal window; whatever the step leaves open (say, after a failed check) is
// closed after it, so a failure never leaves the test waiting on a window.
void onNextModal(std::function<void(QDialog*)> step);

// Opens a book as the journal's menu does and runs `step` while it is shown.
void whileManaging(ListWindow* book, Dataset* list, std::function<void()> step);
// Picks from a book (workers, products or kinds) as its callers do, running `step` while it is shown;
// answers what the pick handed back.
std::optional<PickedRow> whilePicking(ListWindow* book, std::function<void()> step);

// A field's texts over the rows the grid shows, in order, without moving the current row.
QStringList shownTexts(Dataset* ds, const QString& field);

// A double click on a grid row, as the mouse gives it.
void doubleClickRow(DataGrid* grid, int row);

// Types a text key by key, as a keyboard does (Cyrillic included).
class QWidget;
void typeText(QWidget* w, const QString& text);

// Runs `action`; a window it opens on top of the modal window of now is noted and closed at once.
QPointer<QWidget> windowOpenedBy(const std::function<void()>& action);

// A caption without its mnemonic mark.
QString plain(QString caption);
