#pragma once

class TDataModule6;
#include "refbooks/book_editor.h"
#include "refbooks/lookup_box.h"

class Dataset;

// A worker as the list holds it: the key, the name (trimmed) and the stored department caption.
struct WorkerRow {
    int id = 0;
    QString name;
    QString department;
    store::RowAsRead asRead;  // as the list read it
};

// The worker editor "Работники": the name and the three lookups of the enterprise database. Only the name
// and the department's caption are stored (accounts_dep.person has no column for position or role).
class TForm2 : public BookEditor {
    Q_OBJECT
public:
    explicit TForm2(TDataModule6& data, QWidget* parent = nullptr);

    QLineEdit* Edit1;
    LookupBox* LCB_department;
    LookupBox* LCB_staffpos;
    LookupBox* LCB_roles;

    int PersonId = 0;
    // The department caption the worker being changed has; kept when no department is chosen.
    QString PersonDepartment;

    Dataset* roles;
    Dataset* staffpos;
    Dataset* department;

    // Re-reads the lookup tables (staffpos, roles, department) so the boxes show what the database holds.
    void reopenLookups();
    // Shows a stored department caption in its box (no choice when no department has that caption).
    void showDepartment(const QString& caption);

    // An empty name, fresh look-ups and the caption of a new worker.
    void presetForAdd();
    // The worker's name and department, fresh look-ups and the caption of a change.
    void presetForChange(const WorkerRow& row);

    void Button1Click() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};
