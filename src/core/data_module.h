#pragma once
#include "core/dataset.h"
#include "store/actor.h"
#include "store/connection.h"
#include "store/store.h"

#include <QObject>
#include <optional>

// The one connection and the datasets that several windows share; every dataset starts closed and is
// opened, refreshed and closed by the windows that use it.
class TDataModule6 : public QObject {
    Q_OBJECT
public:
    // The connection name under which ADO_DB is registered with QtSql.
    static inline const QString kConnection = store::kProgramConnection;

    explicit TDataModule6(QObject* parent = nullptr);

    // Opens ADO_DB with an ODBC connection string; throws DbError when it cannot.
    void openDatabase(const QString& odbcString);
    void closeDatabase();
    bool connected() const;

    // Who acts on this workstation: nobody until the sign-in sets the role. Every store verb a window
    // calls runs in this session, so the verb knows the actor and refuses what the role may not do.
    void setActor(const store::Actor& actor) { actor_ = actor; }
    const store::Actor& actor() const { return actor_; }
    store::Session session() const { return store::Session{store::programDb(), actor_}; }

    // Where people sign in by name, once the server told the program so (the shared user refused, or the
    // database's personal sign-in on); nothing while the shared user signs in.
    void setPersonalAddress(const std::optional<DatabaseAddress>& where) { personal_ = where; }
    const std::optional<DatabaseAddress>& personalAddress() const { return personal_; }

    // Reference lists.
    Dataset* Workers;
    Dataset* Izdel;
    Dataset* Vid_oper;
    Dataset* Oper;
    // Journal datasets of shifts 1, 2, 3 and overtime.
    Dataset* Smena1;
    Dataset* Smena2;
    Dataset* Smena3;
    Dataset* Smena4;
    // Time sheets of shifts 1, 2 and 3 for one month.
    Dataset* H_Tabel_1;
    Dataset* H_Tabel_2;
    Dataset* H_Tabel_3;
    // Scratch query: each user sets its whole text, opens, reads the first row and closes it.
    Dataset* Control;

    // The journal dataset of a shift number: Smena2..4 for 2..4, Smena1 for anything else.
    Dataset* shiftDataset(int shift) const;
    QList<Dataset*> journalDatasets() const { return {Smena1, Smena2, Smena3, Smena4}; }

private:
    store::Actor actor_ = store::Actor::here(store::Role::None);
    std::optional<DatabaseAddress> personal_;
    Dataset* makeDataset(const store::Read& read);
};

// The program's one data module, owned by the window owner (journal/startup.h) while it lives.
extern TDataModule6* DataModule6;
