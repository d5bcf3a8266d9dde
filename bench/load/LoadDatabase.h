#pragma once

#include "ScratchDatabase.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

struct ClerkResult;

// The shared database of one load run: the demo system data, areas of each kind with some
// storage areas mapped, a free pool of storage areas, and an employee per clerk. On
// PostgreSQL the schema is made by nelvo-admin init with a clerk role, and every clerk logs
// in as a login role of its own that is a member of it.
class LoadDatabase {
public:
    LoadDatabase() = default;
    ~LoadDatabase();
    LoadDatabase(const LoadDatabase&) = delete;
    LoadDatabase& operator=(const LoadDatabase&) = delete;

    // Creates it on backend ("sqlite" or "postgresql") for clerkCount clerks; false with
    // error. adminTool: the nelvo-admin executable.
    bool create(const QString& backend, int clerkCount, const QString& adminTool, QString& error);

    // What clerk number index (from 0) opens, and the operator it works as.
    QString clerkDatabase(int index) const;
    static QString operatorCode(int index);

    // The invariants after the run, one line per break (empty: none held broken):
    // one mapping per storage area and kind, every mapping's area and storage area exist,
    // every committed batch has its trail rows and no failed batch has any.
    // matched: how many trail batches were matched to a committed batch.
    QStringList brokenInvariants(const QList<ClerkResult>& results, int& matched) const;

private:
    bool createClerkLogins(int clerkCount, QString& error);

    std::unique_ptr<ScratchDatabase> m_scratch;
    QString m_backend;
    QStringList m_clerkLogins;
};
