#include "WorkTransaction.h"

#include "Backend.h"

namespace server {

WorkTransaction::~WorkTransaction()
{
    if (!m_open)
        return;
    platform::DataTable ignored;
    run(QStringLiteral("rollback"), {}, ignored, nullptr);
}

bool WorkTransaction::run(const QString& sql, const QStringList& parameters,
                          platform::DataTable& rows, QString* error)
{
    QStringList errors;
    if (m_backend.query(sql, parameters, rows, errors))
        return true;
    if (error)
        *error = errors.join(QLatin1Char('\n'));
    return false;
}

bool WorkTransaction::begin(const QStringList& lockedTables, QString* error)
{
    platform::DataTable ignored;
    const bool postgres = m_backend.name() == QLatin1String("POSTGRESQL");
    const bool immediate = !postgres && !lockedTables.isEmpty();
    if (!run(immediate ? QStringLiteral("begin immediate") : QStringLiteral("begin"), {}, ignored,
             error))
        return false;
    m_open = true;
    if (postgres && !lockedTables.isEmpty())
        return run(QStringLiteral("lock table %1 in share row exclusive mode")
                       .arg(lockedTables.join(QLatin1String(", "))),
                   {}, ignored, error);
    return true;
}

bool WorkTransaction::query(const QString& sql, platform::DataTable& rows, QString* error)
{
    return run(sql, {}, rows, error);
}

bool WorkTransaction::execute(const QString& text, QString* error)
{
    platform::DataTable ignored;
    return run(text, {}, ignored, error);
}

bool WorkTransaction::commit(const QString& description, QString* error)
{
    platform::DataTable ignored;
    if (!run(m_backend.batchTextStatement(), {description}, ignored, error) ||
        !run(QStringLiteral("commit"), {}, ignored, error))
        return false;
    m_open = false;
    return true;
}

} // namespace server
