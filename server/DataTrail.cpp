// The trail's reading and the restore of a recorded batch.
#include "Backend.h"
#include "DataServer.h"
#include "TrailTables.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace server {

namespace {

constexpr const char* NoTrailMessage = "数据库中没有操作记录（缺少表 tbAudit）";

QString textOf(const platform::Variant& value)
{
    return value.isNull() ? QString() : value.toText();
}

QJsonObject jsonObject(const QString& text)
{
    return text.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(text.toUtf8()).object();
}

QString jsonText(const QJsonObject& row)
{
    return row.isEmpty() ? QString()
                         : QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact));
}

// Statements over one recorded table, values bound as texts and NULL written as null.
class RowWriter {
public:
    RowWriter(Backend& backend, const TrailTable& table) : m_backend(backend), m_table(table) {}

    // The row with the key of row as it is now, or none.
    bool read(const QJsonObject& row, std::optional<QJsonObject>& current, QStringList& errors)
    {
        QStringList parameters;
        const QString sql = QStringLiteral("select %1 from %2 where %3")
                                .arg(m_table.columns.join(QLatin1String(", ")), m_table.name,
                                     keyCondition(row, parameters));
        platform::DataTable rows;
        if (!m_backend.query(sql, parameters, rows, errors))
            return false;
        current.reset();
        if (rows.rows.isEmpty())
            return true;
        QJsonObject found;
        for (int column = 0; column < m_table.columns.size(); ++column) {
            const platform::Variant& value = rows.rows.first()[column];
            found.insert(m_table.columns[column],
                         value.isNull() ? QJsonValue() : QJsonValue(value.toText()));
        }
        current = found;
        return true;
    }

    bool remove(const QJsonObject& key, QStringList& errors)
    {
        QStringList parameters;
        const QString sql = QStringLiteral("delete from %1 where %2")
                                .arg(m_table.name, keyCondition(key, parameters));
        return run(sql, parameters, errors);
    }

    bool update(const QJsonObject& key, const QJsonObject& row, QStringList& errors)
    {
        QStringList parameters;
        QStringList assignments;
        for (const QString& column : m_table.columns)
            assignments << column + QStringLiteral(" = ") + value(row, column, parameters);
        const QString sql = QStringLiteral("update %1 set %2 where %3")
                                .arg(m_table.name, assignments.join(QLatin1String(", ")),
                                     keyCondition(key, parameters));
        return run(sql, parameters, errors);
    }

    bool insert(const QJsonObject& row, QStringList& errors)
    {
        QStringList parameters;
        QStringList values;
        for (const QString& column : m_table.columns)
            values << value(row, column, parameters);
        const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(m_table.name, m_table.columns.join(QLatin1String(", ")),
                                     values.join(QLatin1String(", ")));
        return run(sql, parameters, errors);
    }

    // Whether current holds exactly the recorded row's columns.
    bool equal(const QJsonObject& current, const QJsonObject& recorded) const
    {
        for (const QString& column : m_table.columns) {
            const QJsonValue a = current.value(column);
            const QJsonValue b = recorded.value(column);
            if ((a.isNull() || a.isUndefined()) != (b.isNull() || b.isUndefined()))
                return false;
            // A char(n) column comes back padded on PostgreSQL.
            if (!a.isNull() && !a.isUndefined() &&
                a.toString().trimmed() != b.toVariant().toString().trimmed())
                return false;
        }
        return true;
    }

    QString keyText(const QJsonObject& row) const { return m_table.keyText(row); }

private:
    static QString value(const QJsonObject& row, const QString& column, QStringList& parameters)
    {
        const QJsonValue value = row.value(column);
        if (value.isNull() || value.isUndefined())
            return QStringLiteral("null");
        parameters << value.toVariant().toString();
        return QStringLiteral("$%1").arg(parameters.size());
    }

    QString keyCondition(const QJsonObject& row, QStringList& parameters) const
    {
        QStringList conditions;
        for (const QString& column : m_table.keyColumns) {
            parameters << row.value(column).toVariant().toString();
            conditions << QStringLiteral("%1 = $%2").arg(column).arg(parameters.size());
        }
        return conditions.join(QLatin1String(" and "));
    }

    bool run(const QString& sql, const QStringList& parameters, QStringList& errors)
    {
        platform::DataTable ignored;
        return m_backend.query(sql, parameters, ignored, errors);
    }

    Backend& m_backend;
    const TrailTable& m_table;
};

QString reversed(const QString& operation)
{
    if (operation == QLatin1String("INSERT"))
        return QStringLiteral("DELETE");
    if (operation == QLatin1String("DELETE"))
        return QStringLiteral("INSERT");
    return operation;
}

} // namespace

bool DataServer::trail(const TrailFilter& filter, QList<TrailBatch>& batches, QString* error)
{
    QStringList errors;
    bool hasBatches = false;
    bool hasRows = false;
    if (!m_backend->tableExists(QStringLiteral("tbAudit"), hasBatches, errors) ||
        !m_backend->tableExists(QStringLiteral("tbAuditRow"), hasRows, errors)) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    }
    if (!hasBatches) {
        if (error)
            *error = QString::fromUtf8(NoTrailMessage);
        return false;
    }
    QStringList conditions;
    QStringList parameters;
    const auto parameter = [&parameters](const QString& value) {
        parameters << value;
        return QStringLiteral("$%1").arg(parameters.size());
    };
    // f_time is "yyyy-MM-dd hh:mm:ss": a day compares as its first ten characters.
    if (filter.since.isValid())
        conditions << QStringLiteral("f_time >= ") + parameter(filter.since.toString(Qt::ISODate));
    if (filter.until.isValid())
        conditions << QStringLiteral("f_time < ") +
                          parameter(filter.until.addDays(1).toString(Qt::ISODate));
    if (!filter.operatorCode.isEmpty())
        conditions << QStringLiteral("f_operator = ") + parameter(filter.operatorCode);
    const auto touching = [&](const QString& code, const QString& tables, const QString& field) {
        const QString value = parameter(code);
        return QStringLiteral("exists (select 1 from tbAuditRow r where r.f_batch = tbAudit.f_id "
                              "and r.f_table in (%1) and (%2 = %4 or %3 = %4))")
            .arg(tables, m_backend->jsonField(QStringLiteral("r.f_before"), field),
                 m_backend->jsonField(QStringLiteral("r.f_after"), field), value);
    };
    if ((!filter.areaCode.isEmpty() || !filter.storageAreaCode.isEmpty()) && !hasRows) {
        if (error)
            *error =
                QStringLiteral("这个数据库还没有逐行的操作记录，请由管理员运行 nelvo-admin init");
        return false;
    }
    if (!filter.areaCode.isEmpty())
        conditions << touching(filter.areaCode, QStringLiteral("'tbQyda', 'tbqydz'"),
                               QStringLiteral("f_qybm"));
    if (!filter.storageAreaCode.isEmpty())
        conditions << touching(filter.storageAreaCode, QStringLiteral("'tbCCQyda', 'tbqydz'"),
                               QStringLiteral("f_ccqybm"));
    QString sql = QStringLiteral("select f_id, f_time, f_operator, f_text from tbAudit");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QLatin1String(" and "));
    sql += QStringLiteral(" order by f_id desc");
    if (filter.limit > 0)
        sql += QStringLiteral(" limit %1").arg(filter.limit);

    // A clerk's login on a database server may not read the trail: say so plainly.
    const auto readFailed = [&] {
        if (error)
            *error = m_backend->lastFailureWasMissingRight()
                         ? QString::fromUtf8(TrailNotPermittedMessage)
                         : errors.join(QLatin1Char('\n'));
        return false;
    };
    platform::DataTable table;
    if (!m_backend->query(sql, parameters, table, errors))
        return readFailed();
    batches.clear();
    batches.reserve(table.rows.size());
    for (const QList<platform::Variant>& row : std::as_const(table.rows))
        batches.append({row[0].int64Value(), textOf(row[1]), textOf(row[2]), textOf(row[3]), {}});
    if (hasRows && !readTrailRows(batches, errors))
        return readFailed();
    return true;
}

bool DataServer::readTrailRows(QList<TrailBatch>& batches, QStringList& errors)
{
    QHash<qint64, qsizetype> indexOf;
    for (qsizetype index = 0; index < batches.size(); ++index)
        indexOf.insert(batches[index].id, index);
    constexpr qsizetype ChunkSize = 500;
    for (qsizetype start = 0; start < batches.size(); start += ChunkSize) {
        QStringList ids;
        for (qsizetype index = start; index < qMin(start + ChunkSize, batches.size()); ++index)
            ids << QString::number(batches[index].id);
        platform::DataTable table;
        if (!m_backend->query(QStringLiteral("select f_batch, f_operation, f_table, f_key, "
                                             "f_before, f_after from tbAuditRow where f_batch "
                                             "in (%1) order by f_id")
                                  .arg(ids.join(QLatin1String(", "))),
                              {}, table, errors))
            return false;
        for (const QList<platform::Variant>& row : std::as_const(table.rows))
            batches[indexOf.value(row[0].int64Value())].rows.append(
                {textOf(row[1]), textOf(row[2]), textOf(row[3]), textOf(row[4]), textOf(row[5])});
    }
    return true;
}

bool DataServer::restoreBatch(qint64 id, bool dryRun, bool force, RestoreOutcome& outcome,
                              QString* error)
{
    outcome = {};
    QStringList errors;
    const auto fail = [&errors, error] {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    };
    bool hasRows = false;
    if (!m_backend->tableExists(QStringLiteral("tbAuditRow"), hasRows, errors))
        return fail();
    if (!hasRows) {
        errors = {QString::fromUtf8(MissingSchemaMessage)};
        return fail();
    }
    platform::DataTable batch;
    platform::DataTable rows;
    if (!m_backend->query(QStringLiteral("select f_id from tbAudit where f_id = $1"),
                          {QString::number(id)}, batch, errors) ||
        !m_backend->query(QStringLiteral("select f_operation, f_table, f_key, f_before, f_after "
                                         "from tbAuditRow where f_batch = $1 order by f_id"),
                          {QString::number(id)}, rows, errors))
        return fail();
    if (batch.rows.isEmpty()) {
        errors = {QStringLiteral("操作记录中没有批次 %1").arg(id)};
        return fail();
    }
    if (rows.rows.isEmpty()) {
        errors = {QStringLiteral("批次 %1 没有逐行的记录，无法恢复").arg(id)};
        return fail();
    }

    // Each row is put back last first, checked against the database as the later rows of
    // the batch left it; all of it inside one transaction, undone unless it is to stay.
    if (!m_backend->begin(errors))
        return fail();
    const auto abandon = [this, &fail] {
        m_backend->rollback();
        return fail();
    };
    for (qsizetype index = rows.rows.size() - 1; index >= 0; --index) {
        const QList<platform::Variant>& row = rows.rows[index];
        const TrailTable* table = TrailTable::find(textOf(row[1]));
        if (!table) {
            errors = {QStringLiteral("批次 %1 中有不认识的表 %2").arg(id).arg(textOf(row[1]))};
            return abandon();
        }
        const QJsonObject before = jsonObject(textOf(row[3]));
        const QJsonObject after = jsonObject(textOf(row[4]));
        const QString label = table->name + QLatin1Char(' ') + textOf(row[2]);
        outcome.planned.append({reversed(textOf(row[0])), table->name, textOf(row[2]),
                                textOf(row[4]), textOf(row[3])});

        RowWriter writer(*m_backend, *table);
        const bool sameKey = !before.isEmpty() && !after.isEmpty() && table->sameKey(before, after);
        std::optional<QJsonObject> atAfter;
        std::optional<QJsonObject> atBefore;
        if ((!after.isEmpty() && !writer.read(after, atAfter, errors)) ||
            (!before.isEmpty() && !writer.read(before, atBefore, errors)))
            return abandon();
        QString conflict;
        if (!after.isEmpty() && !atAfter)
            conflict = QStringLiteral("%1：此后已被删除").arg(label);
        else if (!after.isEmpty() && !writer.equal(*atAfter, after))
            conflict = QStringLiteral("%1：此后已改为 %2").arg(label, jsonText(*atAfter));
        else if (!before.isEmpty() && !sameKey && atBefore)
            conflict = QStringLiteral("%1：此后已有同键的行 %2")
                           .arg(table->name + QLatin1Char(' ') + writer.keyText(before),
                                jsonText(*atBefore));
        if (!conflict.isEmpty()) {
            outcome.conflicts << conflict;
            if (!force)
                continue;
        }
        // Make the row at the recorded key of after absent (unless before keeps that key),
        // then the row at the key of before equal to before.
        if (!after.isEmpty() && !sameKey && atAfter && !writer.remove(after, errors))
            return abandon();
        if (!before.isEmpty() &&
            !(atBefore ? writer.update(before, before, errors) : writer.insert(before, errors)))
            return abandon();
    }
    if (dryRun || (!outcome.conflicts.isEmpty() && !force)) {
        m_backend->rollback();
        return outcome.conflicts.isEmpty() || force;
    }
    platform::DataTable current;
    const QString text =
        QStringLiteral("恢复批次 %1%2").arg(id).arg(force ? QStringLiteral("（强制）") : QString());
    if (!m_backend->query(m_backend->batchTextStatement(), {text}, current, errors) ||
        !m_backend->query(m_backend->currentBatchQuery(), {}, current, errors))
        return abandon();
    if (!current.rows.isEmpty())
        outcome.restoreBatchId = current.rows.first().first().int64Value();
    if (!m_backend->commit(errors)) {
        outcome.restoreBatchId = 0;
        return fail();
    }
    return true;
}

bool DataServer::orphanMappings(QStringList& mappings, QString* error)
{
    platform::DataTable table;
    QStringList errors;
    if (!m_backend->query(
            QStringLiteral("select m.f_qylx, m.f_qybm, m.f_ccqybm from tbqydz m "
                           "where not exists (select 1 from tbQyda a where a.f_qybm = m.f_qybm "
                           "and a.f_qylx = m.f_qylx) or not exists (select 1 from tbCCQyda s "
                           "where s.f_ccqybm = m.f_ccqybm) order by m.f_qylx, m.f_ccqybm"),
            {}, table, errors)) {
        if (error)
            *error = errors.join(QLatin1Char('\n'));
        return false;
    }
    mappings.clear();
    for (const QList<platform::Variant>& row : std::as_const(table.rows))
        mappings << QStringLiteral("%1/%2/%3").arg(textOf(row[0]), textOf(row[1]), textOf(row[2]));
    return true;
}

} // namespace server
