#pragma once

#include "ScratchDatabase.h"

#include <QtTest>

// The column "backend" of a test's data table, with a row for each database kind.
inline void addBackendRows()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << QString::fromLatin1(ScratchDatabase::Sqlite);
    QTest::newRow("postgresql") << QString::fromLatin1(ScratchDatabase::Postgres);
}
