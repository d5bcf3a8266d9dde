#include "LoadDatabase.h"

#include "ClerkResult.h"
#include "DatabaseQuery.h"
#include "support/ScratchPostgres.h"

#include "platform/ClientDataset.h"
#include "server/DataServer.h"
#include "server/DemoData.h"

#include <QHash>
#include <QProcess>
#include <QUrl>

namespace {

constexpr int AreasPerKind = 6;
constexpr int StorageAreaCount = 300;
constexpr int MappedPerArea = 10;
const char* const ClerkRole = "nelvo_clerk";
const char* const Kinds[] = {"PICK", "PUT", "MPICK"};

QString areaCode(int kind, int index)
{
    return QStringLiteral("%1%2")
        .arg(QLatin1Char("PUM"[kind]))
        .arg(index + 1, 2, 10, QLatin1Char('0'));
}

QString storageCode(int index)
{
    return QStringLiteral("S%1").arg(index + 1, 4, 10, QLatin1Char('0'));
}

QString warehouseScript(int clerkCount)
{
    QString sql = QStringLiteral("delete from tbqydz; delete from tbQyda; delete from tbCCQyda;\n");
    for (int index = 0; index < StorageAreaCount; ++index)
        sql += QStringLiteral("insert into tbCCQyda(f_ccqybm, f_ccqymc) values ('%1', '储位%2');\n")
                   .arg(storageCode(index))
                   .arg(index + 1);
    for (int kind = 0; kind < 3; ++kind) {
        for (int area = 0; area < AreasPerKind; ++area) {
            sql += QStringLiteral("insert into tbQyda(f_qybm, f_qymc, f_qylx) values "
                                  "('%1', '共享区%1', '%2');\n")
                       .arg(areaCode(kind, area), QLatin1String(Kinds[kind]));
            for (int mapped = 0; mapped < MappedPerArea; ++mapped)
                sql += QStringLiteral("insert into tbqydz(f_qylx, f_qybm, f_ccqybm) values "
                                      "('%1', '%2', '%3');\n")
                           .arg(QLatin1String(Kinds[kind]), areaCode(kind, area),
                                storageCode(area * MappedPerArea + mapped));
        }
    }
    for (int index = 0; index < clerkCount; ++index)
        sql += QStringLiteral("insert into tbZyda(f_zybm, f_zymc) values ('%1', '压测员%2');\n")
                   .arg(LoadDatabase::operatorCode(index))
                   .arg(index + 1);
    return sql;
}

QString clerkLogin(int index)
{
    return QStringLiteral("nelvo_load_clerk_%1").arg(index + 1);
}

// The rows of a query as "a|b|..." lines, or one line saying why it failed.
QStringList rowsOf(const QString& database, const QString& sql, const QStringList& columns)
{
    platform::ClientDataset dataset;
    if (const QString failure = queryDatabase(database, sql, dataset); !failure.isEmpty())
        return {QStringLiteral("query failed: ") + failure};
    QStringList rows;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList cells;
        for (const QString& column : columns)
            cells << dataset.fieldText(column);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The statements of a batch the window sends for "<" or "<<" (one insert each).
int insertCount(const QString& batch)
{
    return int(batch.count(QStringLiteral("insert into"), Qt::CaseInsensitive));
}

bool isInsertBatch(const QString& batch)
{
    return batch.trimmed().startsWith(QLatin1String("insert into"), Qt::CaseInsensitive);
}

} // namespace

LoadDatabase::~LoadDatabase()
{
    // The database goes first (dropping it ends the clerks' sessions), then their logins.
    m_scratch.reset();
    QString ignored;
    for (const QString& login : std::as_const(m_clerkLogins))
        ScratchPostgres::run(QStringLiteral("drop role if exists %1").arg(login), ignored);
}

QString LoadDatabase::operatorCode(int index)
{
    return QStringLiteral("%1").arg(1001 + index);
}

bool LoadDatabase::create(const QString& backend, int clerkCount, const QString& adminTool,
                          QString& error)
{
    m_backend = backend;
    m_scratch = std::make_unique<ScratchDatabase>();
    if (!m_scratch->create(backend, error))
        return false;
    server::DataServerOptions options;
    options.operatorCode = QString::fromUtf8(server::DemoData::OperatorCode);
    if (backend == QLatin1String(ScratchDatabase::Postgres)) {
        QProcess admin;
        admin.setProcessChannelMode(QProcess::MergedChannels);
        admin.start(adminTool,
                    {QStringLiteral("--database"), m_scratch->database(), QStringLiteral("init"),
                     QStringLiteral("--clerk-role"), QLatin1String(ClerkRole)});
        if (!admin.waitForFinished(120000) || admin.exitStatus() != QProcess::NormalExit ||
            admin.exitCode() != 0) {
            error = QStringLiteral("nelvo-admin init failed: ") +
                    QString::fromUtf8(admin.readAll()).trimmed();
            return false;
        }
    } else {
        options.createSchema = true; // the embedded database sets itself up
    }
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_scratch->database(), options, &error));
    if (!server || !server->loadDemoData(&error) ||
        !server->executeScript(warehouseScript(clerkCount), &error))
        return false;
    return backend != QLatin1String(ScratchDatabase::Postgres) ||
           createClerkLogins(clerkCount, error);
}

bool LoadDatabase::createClerkLogins(int clerkCount, QString& error)
{
    for (int index = 0; index < clerkCount; ++index) {
        const QString login = clerkLogin(index);
        if (!ScratchPostgres::run(QStringLiteral("drop role if exists %1").arg(login), error) ||
            !ScratchPostgres::run(QStringLiteral("create role %1 login in role %2")
                                      .arg(login, QLatin1String(ClerkRole)),
                                  error))
            return false;
        m_clerkLogins << login;
    }
    return true;
}

QString LoadDatabase::clerkDatabase(int index) const
{
    if (m_backend != QLatin1String(ScratchDatabase::Postgres))
        return m_scratch->database();
    QUrl uri(m_scratch->database());
    uri.setUserName(clerkLogin(index));
    uri.setPassword(QString());
    return uri.toString();
}

QStringList LoadDatabase::brokenInvariants(const QList<ClerkResult>& results, int& matched) const
{
    matched = 0;
    QStringList broken;
    const QString& database = m_scratch->database();
    for (const QString& row :
         rowsOf(database,
                QStringLiteral("select f_qylx, f_ccqybm, count(*) as n from tbqydz"
                               " group by f_qylx, f_ccqybm having count(*) > 1"),
                {QStringLiteral("f_qylx"), QStringLiteral("f_ccqybm"), QStringLiteral("n")}))
        broken << QStringLiteral("more than one mapping per storage area and kind: ") + row;
    for (const QString& row :
         rowsOf(database,
                QStringLiteral("select m.f_qylx, m.f_qybm, m.f_ccqybm from tbqydz m"
                               " where not exists (select 1 from tbQyda a where a.f_qybm = m.f_qybm"
                               " and a.f_qylx = m.f_qylx) or not exists (select 1 from tbCCQyda s"
                               " where s.f_ccqybm = m.f_ccqybm)"),
                {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"), QStringLiteral("f_ccqybm")}))
        broken << QStringLiteral("a mapping whose area or storage area does not exist: ") + row;

    QString error;
    server::DataServerOptions options;
    options.readOnly = true;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database, options, &error));
    if (!server)
        return broken << QStringLiteral("cannot read the trail: ") + error;
    for (const ClerkResult& result : results) {
        server::TrailFilter filter;
        filter.operatorCode = result.operatorCode;
        QList<server::TrailBatch> trail;
        if (!server->trail(filter, trail, &error)) {
            broken << QStringLiteral("cannot read the trail: ") + error;
            continue;
        }
        // Each committed batch once in the trail with its rows; no failed batch at all.
        QHash<QString, int> unmatched;
        for (const QString& batch : result.committedBatches)
            if (!batch.trimmed().isEmpty())
                ++unmatched[batch];
        for (const server::TrailBatch& batch : std::as_const(trail)) {
            if (--unmatched[batch.text] < 0) {
                broken << QStringLiteral("operator %1: trail batch %2 is no committed batch%3: %4")
                              .arg(result.operatorCode)
                              .arg(batch.id)
                              .arg(result.failedBatches.contains(batch.text)
                                       ? QStringLiteral(" (a failed one)")
                                       : QString())
                              .arg(batch.text.isEmpty() && !batch.rows.isEmpty()
                                       ? QStringLiteral("(no text; %1 rows, the first %2 %3 %4)")
                                             .arg(batch.rows.size())
                                             .arg(batch.rows[0].operation, batch.rows[0].table,
                                                  batch.rows[0].key)
                                       : batch.text.left(120));
                continue;
            }
            ++matched;
            if (isInsertBatch(batch.text) && batch.rows.size() != insertCount(batch.text))
                broken << QStringLiteral("operator %1: trail batch %2 has %3 rows for %4 inserts")
                              .arg(result.operatorCode)
                              .arg(batch.id)
                              .arg(batch.rows.size())
                              .arg(insertCount(batch.text));
        }
        for (auto it = unmatched.cbegin(); it != unmatched.cend(); ++it)
            if (it.value() > 0)
                broken << QStringLiteral("operator %1: %2 committed batch(es) not in the trail: %3")
                              .arg(result.operatorCode)
                              .arg(it.value())
                              .arg(it.key().left(120));
    }
    return broken;
}
