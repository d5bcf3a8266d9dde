#include "AuditLog.h"

#include "Console.h"
#include "ExitStatus.h"
#include "ServerSession.h"
#include "area/AreaModel.h"

namespace admin {

QString AuditLog::selectText(const AuditFilter& filter)
{
    QStringList conditions;
    if (filter.since.isValid())
        conditions << QStringLiteral("f_time >= '%1'").arg(filter.since.toString(Qt::ISODate));
    if (!filter.operatorCode.isEmpty())
        conditions
            << QStringLiteral("f_operator = '%1'").arg(EscapeSqlLiteral(filter.operatorCode));
    QString text = QStringLiteral("select f_id, f_time, f_operator, f_text from tbAudit");
    if (!conditions.isEmpty())
        text += QStringLiteral(" where ") + conditions.join(QLatin1String(" and "));
    return text + QStringLiteral(" order by f_time desc, f_id desc");
}

bool AuditLog::tableExists(bool& exists, QString& error)
{
    const QString sql =
        m_session.server()->databaseType() == QLatin1String("POSTGRESQL")
            ? QStringLiteral("select table_name from information_schema.tables "
                             "where table_schema = current_schema() and table_name = 'tbaudit'")
            : QStringLiteral("select name from sqlite_master "
                             "where type = 'table' and lower(name) = 'tbaudit'");
    platform::ClientDataset rows;
    if (!m_session.query(sql, rows, error))
        return false;
    exists = !rows.isEmpty();
    return true;
}

int AuditLog::run(const AuditFilter& filter)
{
    bool exists = false;
    QString error;
    if (!tableExists(exists, error)) {
        m_console.warn(QStringLiteral("cannot read the database: %1").arg(error));
        return ExitUsage;
    }
    if (!exists) {
        m_console.warn(QStringLiteral("no audit trail in this database"));
        return ExitUsage;
    }
    platform::ClientDataset rows;
    if (!m_session.query(selectText(filter), rows, error)) {
        m_console.warn(QStringLiteral("cannot read the audit trail: %1").arg(error));
        return ExitUsage;
    }
    const auto text = [&rows](const char* column) {
        const platform::Variant value = rows.fieldValue(QLatin1String(column));
        return value.isNull() ? QString() : value.toText();
    };
    for (rows.first(); !rows.eof(); rows.next()) {
        m_console.print(QStringLiteral("#%1 %2 operator %3")
                            .arg(text("f_id"), text("f_time"), text("f_operator")));
        const QStringList lines = text("f_text").split(QLatin1Char('\n'));
        for (const QString& line : lines)
            if (!line.isEmpty())
                m_console.print(QStringLiteral("    ") + line);
    }
    return ExitSuccess;
}

} // namespace admin
