#pragma once
#include <QString>
#include <functional>
#include <optional>

class Dataset;
class ListWindow;

// How the other windows open a reference book: they set its mode and buttons and open the shared dataset
// it shows; the book itself writes the database.

// Manage mode, from the journal's menu "Справочники": Tag 0, the dataset opened, "Изменить" in Button2
// (not the default button), "Добавить" and "Удалить" shown, a search left in a hidden search box cleared;
// shown modally, the dataset closed on return.
void openBookForManaging(ListWindow* book, Dataset* list);

// Pick mode: Tag 1, the dataset opened, "Выбрать" in Button2 as the default button, "Добавить" and
// "Удалить" hidden, the search box shown and cleared. Open and position the dataset first where a pick
// starts on a given row.
void preparePicking(ListWindow* book, Dataset* list);

// After a pick from the operation dialog or the entry editor's operations book: Button2 is no longer the
// default button and the search box is hidden again.
void endPicking(ListWindow* book);

// A whole pick: prepare, show modally, end it when `endAfter` (the operation dialog's picks; the entry
// editor's worker pick leaves the list as it is), close the dataset. When the user chose a row, `read`
// runs on it before the dataset closes.
void openBookForPicking(ListWindow* book, Dataset* list, bool endAfter, const std::function<void(Dataset&)>& read);

// What a pick hands back: the chosen row's key and its text (a worker's name, a product's mark, a kind).
struct PickedRow {
    int id = 0;
    QString text;
};
