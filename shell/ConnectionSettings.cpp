#include "ConnectionSettings.h"

#include "PostgresTarget.h"

#include <QSettings>

namespace {

const QString DatabaseKey = QStringLiteral("connection/database");
const QString OperatorKey = QStringLiteral("connection/operator");

} // namespace

namespace ConnectionSettings {

QString rememberedDatabase()
{
    return QSettings().value(DatabaseKey).toString();
}

void rememberDatabase(const QString& database)
{
    QSettings().setValue(DatabaseKey, databaseWithoutPassword(database));
}

QString lastOperator()
{
    return QSettings().value(OperatorKey).toString();
}

void rememberOperator(const QString& code)
{
    QSettings().setValue(OperatorKey, code);
}

} // namespace ConnectionSettings
