#include "SessionFixture.h"

#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DemoData.h"

#include <QFile>
#include <QLabel>

const char* const WarehouseScript =
    "delete from tbqydz; delete from tbQyda; delete from tbCCQyda;"
    "insert into tbQyda(f_qybm, f_qymc, f_qylx) values"
    " ('A01', '一号拣货区', 'PICK'), ('A02', '二号拣货区', 'PICK'),"
    " ('B01', 'A01备用', 'PUT'), ('M01', '管理区', 'MPICK');"
    "insert into tbCCQyda(f_ccqybm, f_ccqymc) values"
    " ('S01', '存储一'), ('S02', '存储二'), ('S03', '存储三'), ('S04', '存储四');"
    "insert into tbqydz(f_qylx, f_qybm, f_ccqybm) values"
    " ('PICK', 'A01', 'S01'), ('PICK', 'A02', 'S02');";

namespace {

QStringList dumpRows(server::DataServer& server, const QString& sql, const QStringList& columns)
{
    platform::Variant data;
    platform::DispatchArguments arguments{platform::DispatchArgument::byValue(sql),
                                          platform::DispatchArgument::byRef(data)};
    QStringList rows;
    if (!server.invoke(platform::CoorDisp::QueryData, arguments).toBool())
        return {QStringLiteral("<query failed>")};
    platform::ClientDataset dataset;
    dataset.loadPacket(data);
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList cells;
        for (const QString& column : columns) {
            const platform::Variant value = dataset.fieldValue(column);
            cells << (value.isNull() ? QStringLiteral("<null>") : value.toText());
        }
        rows << cells.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

} // namespace

char* toString(const TableDump& dump)
{
    const QString text =
        QStringLiteral("areas [%1] mappings [%2]")
            .arg(dump.areas.join(QLatin1Char(',')), dump.mappings.join(QLatin1Char(',')));
    return qstrdup(text.toUtf8().constData());
}

SessionFixture::SessionFixture()
{
    platform::setMessageBoxInterceptor([this](const platform::MessageBoxRequest& request) {
        m_messages << request.caption + QLatin1Char('|') + request.text;
        return platform::IDOK;
    });
    platform::setModalInterceptor([this](QDialog& dialog) { return interceptDialog(dialog); });
}

SessionFixture::~SessionFixture()
{
    m_window.reset();
    hostContext().Server.reset();
    hostContext().AreaForm = nullptr;
    platform::setModalInterceptor({});
    platform::setMessageBoxInterceptor({});
}

QString SessionFixture::databasePath() const
{
    return m_folder.filePath(QStringLiteral("areas.db"));
}

bool SessionFixture::createWarehouse(const QString& database, QString& error)
{
    server::DataServerOptions options;
    options.operatorCode = QString::fromUtf8(server::DemoData::OperatorCode);
    options.createSchema = true;
    const auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database, options, &error));
    return server && server->loadDemoData(&error) &&
           server->executeScript(QString::fromUtf8(WarehouseScript), &error);
}

bool SessionFixture::open(const QString& templatePath, QString& error)
{
    if (!m_folder.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!QFile::copy(templatePath, databasePath())) {
        error = QStringLiteral("cannot copy the database");
        return false;
    }
    return attach(databasePath(), error);
}

bool SessionFixture::attach(const QString& database, QString& error)
{
    server::DataServerOptions options;
    options.operatorCode = QString::fromUtf8(server::DemoData::OperatorCode);
    options.createSchema = true;
    return attach(database, options, error);
}

bool SessionFixture::attach(const QString& database, const server::DataServerOptions& options,
                            QString& error)
{
    m_server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database, options, &error));
    if (!m_server)
        return false;
    m_faults = platform::DispatchRef<testsupport::FaultInjectingServer>::adopt(
        new testsupport::FaultInjectingServer(m_server.get()));
    hostContext().Server = platform::DispatchRef<platform::DispatchObject>(m_faults.get());
    hostContext().OperatorCode = options.operatorCode;
    return true;
}

void SessionFixture::startWindow()
{
    m_window = std::make_unique<TfrmArea>(nullptr);
    hostContext().AreaForm = m_window.get();
}

int SessionFixture::interceptDialog(QDialog& dialog)
{
    if (const auto* message = dialog.findChild<QLabel*>(QStringLiteral("Message"))) {
        m_messages << dialog.windowTitle() + QLatin1Char('|') + message->text();
        return platform::IDOK;
    }
    if (!m_driver) {
        m_undriven << dialog.objectName();
        return platform::IDCANCEL;
    }
    const DialogDriver driver = std::exchange(m_driver, DialogDriver());
    return driver(dialog);
}

TableDump SessionFixture::dump() const
{
    return {
        dumpRows(*m_server.get(), QStringLiteral("select * from tbQyda"),
                 {QStringLiteral("f_qybm"), QStringLiteral("f_qymc"), QStringLiteral("f_qylx")}),
        dumpRows(*m_server.get(), QStringLiteral("select * from tbqydz"),
                 {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"), QStringLiteral("f_ccqybm")})};
}

bool SessionFixture::run(const QString& sql, QString* error) const
{
    return m_server->executeScript(sql, error);
}
