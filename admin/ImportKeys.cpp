#include "ImportKeys.h"

#include "area/AreaModel.h"
#include "server/WorkTransaction.h"

namespace admin {

QString sqlLiteralList(const QStringList& values)
{
    QString text;
    for (const QString& value : values) {
        if (!text.isEmpty())
            text += QLatin1String(", ");
        text += QLatin1Char('\'') + EscapeSqlLiteral(value) + QLatin1Char('\'');
    }
    return text;
}

bool ImportKeys::prepare(QString& error)
{
    platform::DataTable ignored;
    return m_work.query(QStringLiteral("create temp table if not exists nelvo_import_keys ("
                                       "f_key varchar(100) not null primary key, "
                                       "f_line integer not null, f_area varchar(20));\n"
                                       "delete from nelvo_import_keys;\n"),
                        ignored, &error);
}

bool ImportKeys::find(const QStringList& keys, QHash<QString, Entry>& found, QString& error)
{
    found.clear();
    if (keys.isEmpty())
        return true;
    platform::DataTable rows;
    if (!m_work.query(QStringLiteral("select f_key, f_line, f_area from nelvo_import_keys "
                                     "where f_key in (%1)")
                          .arg(sqlLiteralList(keys)),
                      rows, &error))
        return false;
    for (const QList<platform::Variant>& row : std::as_const(rows.rows))
        found.insert(row[0].toText(),
                     {int(row[1].int64Value()), row[2].isNull() ? QString() : row[2].toText()});
    return true;
}

bool ImportKeys::add(const QList<std::pair<QString, Entry>>& entries, QString& error)
{
    if (entries.isEmpty())
        return true;
    // At most 500 rows per statement: SQLite's limit on the rows of one values list.
    QString text;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        text += i % 500 == 0 ? QStringLiteral("%1insert into nelvo_import_keys "
                                              "(f_key, f_line, f_area) values ")
                                   .arg(i == 0 ? QString() : QStringLiteral(";\n"))
                             : QStringLiteral(", ");
        const Entry& entry = entries.at(i).second;
        text += QStringLiteral("('%1', %2, %3)")
                    .arg(EscapeSqlLiteral(entries.at(i).first))
                    .arg(entry.line)
                    .arg(entry.area.isEmpty() ? QStringLiteral("null")
                                              : QLatin1Char('\'') + EscapeSqlLiteral(entry.area) +
                                                    QLatin1Char('\''));
    }
    platform::DataTable ignored;
    return m_work.query(text, ignored, &error);
}

} // namespace admin
