#include "PostgresTarget.h"

#include "server/DataServer.h"

#include <QUrl>
#include <libpq-fe.h>

namespace {

QString encoded(const QString& part)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(part));
}

} // namespace

QString PostgresTarget::uri() const
{
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += encoded(user) + QLatin1Char('@');
    text += encoded(host);
    if (!port.isEmpty())
        text += QLatin1Char(':') + encoded(port);
    text += QLatin1Char('/') + encoded(database);
    QStringList query;
    for (const auto& [key, value] : otherOptions)
        query << encoded(key) + QLatin1Char('=') + encoded(value);
    if (!query.isEmpty())
        text += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return text;
}

bool PostgresTarget::parse(const QString& connection, PostgresTarget& target)
{
    char* message = nullptr;
    PQconninfoOption* options = PQconninfoParse(connection.toUtf8().constData(), &message);
    PQfreemem(message);
    if (!options)
        return false;
    target = {};
    for (PQconninfoOption* option = options; option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString key = QString::fromUtf8(option->keyword);
        const QString value = QString::fromUtf8(option->val);
        if (key == QLatin1String("host"))
            target.host = value;
        else if (key == QLatin1String("port"))
            target.port = value;
        else if (key == QLatin1String("dbname"))
            target.database = value;
        else if (key == QLatin1String("user"))
            target.user = value;
        else if (key != QLatin1String("password"))
            target.otherOptions.append({key, value});
    }
    PQconninfoFree(options);
    return true;
}

QString databaseWithoutPassword(const QString& database)
{
    if (!server::DataServer::isPostgresUri(database))
        return database;
    PostgresTarget target;
    return PostgresTarget::parse(database, target) ? target.uri() : QStringLiteral("postgresql://");
}
