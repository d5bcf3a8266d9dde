#include "BatchFailureExplainer.h"

#include "Backend.h"
#include "SqlLiteral.h"

#include <QList>
#include <QRegularExpression>

namespace server {

namespace {

const QString LostConnection =
    QStringLiteral("与数据库服务器的连接已断开，下一次操作将重新连接数据库");

// One single-quoted literal, its doubled quotes included; the value is group n.
#define NELVO_LITERAL "'((?:[^']|'')*)'"

// The statements of the area window whose failure can be explained. Blanks and letter case
// vary between the window's statements, so the patterns allow any.
const QRegularExpression MappingInsert(
    QStringLiteral(
        "insert\\s+into\\s+tbqydz\\s*\\(\\s*f_qylx\\s*,\\s*f_qybm\\s*,\\s*f_ccqybm\\s*\\)"
        "\\s*values\\s*\\(\\s*" NELVO_LITERAL "\\s*,\\s*" NELVO_LITERAL "\\s*,\\s*" NELVO_LITERAL
        "\\s*\\)"),
    QRegularExpression::CaseInsensitiveOption);
const QRegularExpression AreaInsert(
    QStringLiteral("insert\\s+into\\s+tbqyda\\s*\\(\\s*f_qybm\\s*,\\s*f_qymc\\s*,\\s*f_qylx\\s*\\)"
                   "\\s*values\\s*\\(\\s*" NELVO_LITERAL),
    QRegularExpression::CaseInsensitiveOption);

#undef NELVO_LITERAL

QString literalValue(const QRegularExpressionMatch& match, int group)
{
    return match.captured(group).replace(QLatin1String("''"), QLatin1String("'"));
}

// The root label the window shows for a kind key.
QString kindLabel(const QString& kindKey)
{
    if (kindKey == u"PICK")
        return QStringLiteral("拣货区域(PICK)");
    if (kindKey == u"PUT")
        return QStringLiteral("上架补货区域(PUT)");
    if (kindKey == u"MPICK")
        return QStringLiteral("拣货管理区域(MPICK)");
    return kindKey;
}

QString areaGone(const QString& areaCode)
{
    return QStringLiteral("区域 %1 已不存在，请重新打开本窗口").arg(areaCode);
}

QString text(const platform::Variant& value)
{
    return value.isNull() ? QString() : value.toText();
}

// The first mapping of the batch that met an existing mapping of its storage area and
// kind, or whose area is gone.
QString explainMappings(Backend& backend, const QList<QStringList>& mappings)
{
    QStringList rows;
    for (qsizetype n = 0; n < mappings.size(); ++n)
        rows << QStringLiteral("(%1, %2, %3, %4)")
                    .arg(n)
                    .arg(sqlLiteral(mappings[n][0]), sqlLiteral(mappings[n][1]),
                         sqlLiteral(mappings[n][2]));
    const QString sql =
        QStringLiteral("with b(n, k, a, s) as (values %1) "
                       "select b.n, b.a, b.s, dz.f_qybm, "
                       // the area under the kind, the stored kind's case ignored as the tree does
                       "(select count(*) from tbqyda q where q.f_qybm = b.a and "
                       "upper(q.f_qylx) = b.k) from b "
                       "left join tbqydz dz on dz.f_qylx = b.k and dz.f_ccqybm = b.s order by b.n")
            .arg(rows.join(QLatin1String(", ")));
    platform::DataTable table;
    QStringList ignored;
    if (!backend.query(sql, {}, table, ignored))
        return QString();
    for (const QList<platform::Variant>& row : std::as_const(table.rows)) {
        if (row[4].toInt32() == 0)
            return areaGone(text(row[1]));
    }
    for (const QList<platform::Variant>& row : std::as_const(table.rows)) {
        if (!row[3].isNull()) {
            const QString kind = mappings[row[0].toInt32()][0];
            return QStringLiteral("存储区域 %1 已对照到 %2 %3")
                .arg(text(row[2]), kindLabel(kind), text(row[3]));
        }
    }
    return QString();
}

QString explainAreaInsert(Backend& backend, const QString& code)
{
    platform::DataTable table;
    QStringList ignored;
    if (!backend.query(
            QStringLiteral("select f_qybm from tbqyda where f_qybm = %1").arg(sqlLiteral(code)), {},
            table, ignored) ||
        table.rows.isEmpty())
        return QString();
    return QStringLiteral("区域编码 %1 已经存在").arg(code);
}

QString explanation(Backend& backend, const QString& batch)
{
    if (backend.connectionLost())
        return LostConnection;
    QList<QStringList> mappings;
    for (auto it = MappingInsert.globalMatch(batch); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        mappings.append({literalValue(match, 1), literalValue(match, 2), literalValue(match, 3)});
    }
    if (!mappings.isEmpty())
        return explainMappings(backend, mappings);
    if (const QRegularExpressionMatch match = AreaInsert.match(batch); match.hasMatch())
        return explainAreaInsert(backend, literalValue(match, 1));
    return QString();
}

} // namespace

void explainBatchFailure(Backend& backend, const QString& batch, QStringList& errors)
{
    const QString line = explanation(backend, batch);
    if (!line.isEmpty())
        errors.prepend(line);
}

void explainQueryFailure(const Backend& backend, QStringList& errors)
{
    if (backend.connectionLost())
        errors.prepend(LostConnection);
}

} // namespace server
