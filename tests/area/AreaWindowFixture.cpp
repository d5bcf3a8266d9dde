#include "AreaWindowFixture.h"

#include "host/HostContext.h"
#include "host/ModuleEntry.h"
#include "nelvo/NelvoModule.h"
#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "server/DataServer.h"

#include <QCoreApplication>

namespace {

const char* const FixtureSql = R"sql(
delete from tbqydz; delete from tbQyda; delete from tbCCQyda;
insert into tbQyda (f_qybm, f_qymc, f_qylx) values
  ('C01', '管理区', 'MPICK'), ('A02', '二号拣货区', 'pick'), ('X01', '其他', 'OTHER'),
  ('A01', '一号拣货区', 'PICK'), ('B01', '补货区', 'PUT'), ('A03', '坏区', 'PICK ');
insert into tbCCQyda (f_ccqybm, f_ccqymc) values
  ('S03', '三号存储'), ('S01', '一号存储'), ('S02', '二号存储'), ('s04', '小写存储'),
  ('S04', '小写存储'), ('S05', '五号存储');
insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values
  ('PICK', 'A01', 'S01'), ('PICK', 'A02', 'S02'), ('PUT', 'B01', 'S01'), ('MPICK', 'C01', 's04');
)sql";

} // namespace

AreaWindowFixture::AreaWindowFixture() = default;

AreaWindowFixture::~AreaWindowFixture()
{
    m_parent.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unloadModule();
}

bool AreaWindowFixture::create(const QString& extraSql, QString& error)
{
    if (!m_folder.isValid()) {
        error = QStringLiteral("no temporary folder");
        return false;
    }
    server::DataServer* database = server::DataServer::open(
        m_folder.filePath(QStringLiteral("area.db")),
        {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error);
    if (!database)
        return false;
    auto databaseRef = platform::DispatchRef<server::DataServer>::adopt(database);
    database->setClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 30)); });
    if (!database->loadDemoData(&error) ||
        // The rows include mappings an older database may hold (kinds in other cases,
        // missing storage areas): written as such a database had them.
        !database->executeUncheckedScript(QString::fromUtf8(FixtureSql) + extraSql, &error))
        return false;
    m_database = database;
    m_recording = new RecordingServer(database);
    m_recordingRef = platform::DispatchRef<RecordingServer>::adopt(m_recording);
    return true;
}

TfrmArea* AreaWindowFixture::openWindow()
{
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(862, 639);
    m_parent->show();
    const unsigned char operatorCode[] = {4, '0', '0', '0', '1'};
    hostContext().AreaForm = nullptr;
    GetNelvoForm(1, nullptr, operatorCode, m_parent.get(), m_recording);
    return qobject_cast<TfrmArea*>(hostContext().AreaForm.data());
}

QStringList AreaWindowFixture::mappingRows()
{
    platform::Variant data;
    platform::DispatchArguments arguments;
    arguments.push_back(platform::DispatchArgument::byValue(platform::Variant(
        "select f_qylx, f_qybm, f_ccqybm from tbqydz order by f_qylx, f_qybm, f_ccqybm")));
    arguments.push_back(platform::DispatchArgument::byRef(data));
    if (!m_database->invoke(platform::CoorDisp::QueryData, arguments).toBool())
        return {QStringLiteral("query failed")};
    platform::ClientDataset rows;
    rows.loadPacket(data);
    QStringList texts;
    for (rows.first(); !rows.eof(); rows.next()) {
        texts.append(rows.fieldText(QStringLiteral("f_qylx")) + u' ' +
                     rows.fieldText(QStringLiteral("f_qybm")) + u' ' +
                     rows.fieldText(QStringLiteral("f_ccqybm")));
    }
    return texts;
}

bool AreaWindowFixture::selectNode(TfrmArea* window, const QString& text)
{
    const QList<QTreeWidgetItem*> found =
        window->TN->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1)
        return false;
    window->TN->setCurrentItem(found.front());
    return true;
}

QStringList AreaWindowFixture::lines(const StorageAreaList* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->lines().line(row).toString());
    return texts;
}

void AreaWindowFixture::selectLines(StorageAreaList* list, const QStringList& texts)
{
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (texts.contains(list->lines().line(row)))
            rows.push_back(row);
    }
    list->selectRows(rows);
}

QStringList AreaWindowFixture::selectedLines(const StorageAreaList* list)
{
    QStringList texts;
    for (int row : list->selectedRows())
        texts.append(list->lines().line(row).toString());
    return texts;
}
