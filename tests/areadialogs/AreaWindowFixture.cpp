#include "AreaWindowFixture.h"

#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "host/HostDataService.h"
#include "platform/ClientDataset.h"
#include "server/DemoData.h"
#include "server/SqlTrace.h"

#include <QFile>
#include <QTreeWidgetItemIterator>

namespace {

const char* const kAreas = "delete from tbqydz; delete from tbQyda; delete from tbCCQyda;"
                           "insert into tbQyda(f_qybm, f_qymc, f_qylx) values"
                           " ('A01', '一号拣货区', 'PICK'), ('A02', '二号拣货区', 'PICK'),"
                           " ('B01', 'A01备用', 'PUT'), ('M01', '管理区', 'MPICK');"
                           "insert into tbCCQyda(f_ccqybm, f_ccqymc) values"
                           " ('S01', '存储一'), ('S02', '存储二');"
                           "insert into tbqydz(f_qylx, f_qybm, f_ccqybm) values"
                           " ('PICK', 'A01', 'S01'), ('PICK', 'A02', 'S02');";

} // namespace

AreaWindowFixture::~AreaWindowFixture()
{
    hostContext().Server.reset();
    hostContext().AreaForm = nullptr;
}

bool AreaWindowFixture::open(QString& error)
{
    if (!m_folder.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    m_tracePath = m_folder.filePath(QStringLiteral("sql.trace"));
    server::DataServerOptions options;
    options.operatorCode = QString::fromUtf8(server::DemoData::OperatorCode);
    options.createSchema = true;
    options.sqlTraceFile = m_tracePath;
    m_server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_folder.filePath(QStringLiteral("areas.db")), options, &error));
    if (!m_server || !m_server->loadDemoData(&error) ||
        !m_server->executeScript(QString::fromUtf8(kAreas), &error))
        return false;
    hostContext().Server = platform::DispatchRef<platform::DispatchObject>(m_server.get());
    hostContext().OperatorCode = options.operatorCode;
    clearTrace();
    return true;
}

std::unique_ptr<TfrmArea> AreaWindowFixture::newWindow()
{
    auto window = std::make_unique<TfrmArea>(nullptr);
    hostContext().AreaForm = window.get();
    return window;
}

bool AreaWindowFixture::run(const QString& sql)
{
    return m_server->executeScript(sql);
}

QList<QStringList> AreaWindowFixture::rows(const QString& sql, const QStringList& columns)
{
    platform::Variant data;
    QList<QStringList> result;
    if (!HostDataService::queryData(sql, data))
        return result;
    platform::ClientDataset dataset;
    dataset.loadPacket(data);
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList row;
        for (const QString& column : columns)
            row << dataset.fieldText(column);
        result << row;
    }
    return result;
}

QStringList AreaWindowFixture::traced(const QString& callName) const
{
    QFile file(m_tracePath);
    QStringList texts;
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    const QByteArray content = file.readAll();
    qsizetype at = 0;
    while (at < content.size()) {
        const qsizetype lineEnd = content.indexOf('\n', at);
        if (lineEnd < 0)
            break;
        // #nelvo-sql <timestamp> <call name> <result> <N>
        const QList<QByteArray> header = content.mid(at, lineEnd - at).split(' ');
        if (header.size() != 5 || header[0] != server::SqlTrace::HeaderMark)
            break;
        const qsizetype length = header[4].toLongLong();
        if (header[2] == callName.toUtf8())
            texts << QString::fromUtf8(content.mid(lineEnd + 1, length));
        at = lineEnd + 1 + length + 2;
    }
    return texts;
}

void AreaWindowFixture::clearTrace()
{
    QFile file(m_tracePath);
    if (file.exists())
        file.resize(0);
}

QTreeWidgetItem* findNode(const TfrmArea& window, const QString& text)
{
    for (QTreeWidgetItemIterator it(window.TN); *it; ++it)
        if ((*it)->text(0) == text)
            return *it;
    return nullptr;
}

QStringList childTexts(const QTreeWidgetItem* root)
{
    QStringList texts;
    for (int i = 0; root && i < root->childCount(); ++i)
        texts << root->child(i)->text(0);
    return texts;
}
