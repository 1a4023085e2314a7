#include "support/test_database.h"

#include "core/data_module.h"

#include <QCoreApplication>

void TestDatabase::connectProgram() const
{
    if (!DataModule6) DataModule6 = new TDataModule6(QCoreApplication::instance());
    DataModule6->openDatabase(odbcString());
    // The windows' tests act with full access unless they sign in with another word.
    DataModule6->setActor(store::Actor::here(store::Role::Full));
}
