#pragma once
#include "store/reads/history.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TDataModule6;

// What the journal hands the window when it opens it.
struct EntryHistoryContext {
    int entryId = 0;                  // the journal's current entry; 0 when it shows none
    QString entryText;                // the entry as the journal shows it: worker, mark, operation
    QDate day;                        // the journal's date and shift: their deleted entries are offered too
    int shift = 1;
    const QWidget* opener = nullptr;  // the window shows centred over it
};

// "История записи": every version of one journal entry, field by field, who and when, its deletion too.
// The entry is the journal's current one, or one deleted from the journal's date and shift, chosen in
// EntryBox. Full access restores a deleted entry.
class TForm25 : public QDialog {
    Q_OBJECT
public:
    explicit TForm25(TDataModule6& data, QWidget* parent = nullptr);

    QLabel* Label1;
    QComboBox* EntryBox;          // the journal's entry, then the entries deleted from its date and shift
    QTableWidget* VersionsGrid;   // one line per field of each version
    QPushButton* RestoreButton;   // "Восстановить": the deletion chosen in the grid, undone
    QPushButton* ExitButton;      // "Выход", also Esc

    // The grid's columns.
    enum Column { When, Operation, Field, Before, After, DbUser, Actor, Role, Workstation, ColumnCount };

    // Reads the entries and the first one's history; shown afterwards with exec().
    void presetFor(const EntryHistoryContext& context);

    // Whether an entry was restored since presetFor: the journal then reads its date again.
    bool restored() const { return restored_; }

    void EntryBoxChange();
    void RestoreButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Choice {
        qint64 entryId = 0;
        qint64 deletion = 0;  // the history row of its deletion while it is deleted; 0 when in the journal
    };

    void fillEntries();
    void showVersions();
    // The deletion of the chosen entry, when the grid's current line is of it and the role may restore.
    qint64 restorableDeletion() const;
    void updateRestoreButton();

    TDataModule6& data_;
    EntryHistoryContext context_;
    std::vector<Choice> choices_;
    std::vector<store::reads::HistoryVersion> versions_;
    std::vector<int> versionOfLine_;  // the index into versions_ of each grid line
    bool restored_ = false;
};
