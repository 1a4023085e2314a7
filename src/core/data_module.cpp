#include "core/data_module.h"

#include "store/connection.h"
#include "store/reads/books.h"
#include "store/reads/journal.h"
#include "store/reads/time_sheet.h"
#include "core/messages.h"

#include <QSqlDatabase>

TDataModule6* DataModule6 = nullptr;

TDataModule6::TDataModule6(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule6"));

    Workers = makeDataset(store::reads::workers());
    Izdel = makeDataset(store::reads::products());
    Vid_oper = makeDataset(store::reads::operationKinds());
    Oper = makeDataset(store::reads::operations());
    Smena1 = makeDataset(store::reads::journalShift(1));
    Smena2 = makeDataset(store::reads::journalShift(2));
    Smena3 = makeDataset(store::reads::journalShift(3));
    Smena4 = makeDataset(store::reads::journalShift(4));
    H_Tabel_1 = makeDataset(store::reads::timeSheet(1));
    H_Tabel_2 = makeDataset(store::reads::timeSheet(2));
    H_Tabel_3 = makeDataset(store::reads::timeSheet(3));

    // The scratch query has no text of its own.
    Control = makeDataset(store::Read{QStringLiteral("Control"), {}, {}, {}, {}});
}

Dataset* TDataModule6::makeDataset(const store::Read& read)
{
    auto* ds = new Dataset(read, this);
    ds->setConnectionName(kConnection);
    return ds;
}

void TDataModule6::openDatabase(const QString& odbcString)
{
    openConnection(kConnection, odbcString);
}

void TDataModule6::closeDatabase()
{
    if (QSqlDatabase::contains(kConnection)) QSqlDatabase::database(kConnection, false).close();
}

bool TDataModule6::connected() const
{
    return QSqlDatabase::contains(kConnection) && QSqlDatabase::database(kConnection, false).isOpen();
}

Dataset* TDataModule6::shiftDataset(int shift) const
{
    switch (shift) {
    case 2: return Smena2;
    case 3: return Smena3;
    case 4: return Smena4;
    default: return Smena1;
    }
}
