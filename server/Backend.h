#pragma once

#include "platform/DataPacket.h"

#include <QString>
#include <QStringList>

namespace server {

// One statement with text parameters bound to $1, $2, ... (never spliced into the text).
struct BoundStatement {
    QString sql;
    QStringList parameters;
};

// One database connection as the data server uses it. Every operation reports failure by
// answering false and filling errors with the database's own message first, then what
// helps to find the cause (the failing statement). Nothing is thrown.
class Backend {
public:
    virtual ~Backend() = default;

    // "SQLITE" or "POSTGRESQL".
    virtual QString name() const = 0;

    // Runs a query text and answers the rows of its last statement. Parameters are bound
    // as text to $1, $2, ... (never spliced into the text); with parameters the text must
    // be a single statement.
    virtual bool query(const QString& sql, const QStringList& parameters,
                       platform::DataTable& table, QStringList& errors) = 0;

    // Runs a query like query() and answers its rows as a data packet (the bytes of
    // platform::encodePacket of that table). A backend may write the packet straight from
    // its rows; this one encodes query()'s table.
    virtual bool queryPacket(const QString& sql, const QStringList& parameters, QByteArray& packet,
                             QStringList& errors)
    {
        platform::DataTable table;
        if (!query(sql, parameters, table, errors))
            return false;
        packet = platform::encodePacket(table);
        return true;
    }

    // Runs a text of statements as one transaction: all of them or, on any failure, none.
    // When the text held a statement and closing is given, closing runs last inside the
    // same transaction; its failure undoes the whole batch. A text without statements
    // changes nothing, runs no closing statement, and succeeds.
    virtual bool executeBatch(const QString& text, const BoundStatement* closing,
                              QStringList& errors) = 0;

    // Creates or upgrades the schema as its owner, as one transaction (safe to run on every
    // open); on PostgreSQL also the clerk role clerkRole with its rights.
    virtual bool initialize(const QString& clerkRole, QStringList& errors) = 0;

    // Makes operatorCode the operator the trail records for this session's changes.
    virtual bool setOperator(const QString& operatorCode, QStringList& errors) = 0;

    // While on, queries and batches come from a client: a backend without rights of its own
    // (SQLite) refuses what a clerk may not do; a query may only read.
    virtual void setClientRules(bool on) { (void)on; }

    // Explicit transaction for work that reads and writes in turns (restore).
    virtual bool begin(QStringList& errors) = 0;
    virtual bool commit(QStringList& errors) = 0;
    virtual void rollback() = 0;

    // The statement, with the text as $1, that records the text of the batch the open
    // transaction runs (and makes its trail batch when no recorded row changed).
    virtual QString batchTextStatement() const = 0;
    // A query answering the id of the open transaction's trail batch (no row: none yet).
    virtual QString currentBatchQuery() const = 0;
    // An expression reading field of the JSON object text in column.
    virtual QString jsonField(const QString& column, const QString& field) const = 0;
    // Whether the table exists; false with errors when that cannot be told.
    virtual bool tableExists(const QString& table, bool& exists, QStringList& errors) = 0;
    // Runs a script as one transaction with the mapping table's keys unchecked, as databases
    // written before the keys existed were (PostgreSQL: owner only; nor is it recorded).
    virtual bool executeUnchecked(const QString& text, QStringList& errors) = 0;
    // Whether this connection may move the accounting period.
    virtual bool mayWritePeriod() { return true; }
    // Whether the connection to a database server broke (the next call connects again).
    virtual bool connectionLost() const { return false; }
    // Whether the last failure was the database undoing the whole transaction to break a
    // deadlock or a serialization conflict with another session: running it again is safe.
    virtual bool lastFailureMayBeRetried() const { return false; }
    // Whether the last failure was the database refusing a right this login lacks.
    virtual bool lastFailureWasMissingRight() const { return false; }
};

} // namespace server
