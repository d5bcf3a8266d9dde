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

    // Whether the connection to a database server broke (the next call connects again).
    virtual bool connectionLost() const { return false; }

    // The script that creates the tables that are missing (safe to run on every open).
    virtual QString schemaScript() const = 0;
};

} // namespace server
