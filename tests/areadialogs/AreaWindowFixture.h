#pragma once

#include "platform/Dispatch.h"
#include "server/DataServer.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class QTreeWidgetItem;
class TfrmArea;

// A small warehouse on the real SQLite data server, installed as the module's server:
//   PICK  A01 一号拣货区 (mapped to S01), A02 二号拣货区 (mapped to S02)
//   PUT   B01 A01备用
//   MPICK M01 管理区
// Every text the server receives is traced, so tests can read the statements back.
class AreaWindowFixture {
public:
    AreaWindowFixture() = default;
    ~AreaWindowFixture();
    AreaWindowFixture(const AreaWindowFixture&) = delete;
    AreaWindowFixture& operator=(const AreaWindowFixture&) = delete;

    // Creates the database with the demo system data and the areas above; false with error.
    bool open(QString& error);
    // A new area window on the fixture (HostContext AreaForm points to it).
    std::unique_ptr<TfrmArea> newWindow();

    // Runs a script directly on the database (not traced).
    bool run(const QString& sql);
    // The rows of a query as texts, through the data server.
    QList<QStringList> rows(const QString& sql, const QStringList& columns);

    // The texts received by one call kind ("QueryData", "ExecuteBatch") since the last
    // clearTrace(), in order.
    QStringList traced(const QString& callName) const;
    void clearTrace();

private:
    QTemporaryDir m_folder;
    QString m_tracePath;
    platform::DispatchRef<server::DataServer> m_server;
};

// The node with exactly this text in the window's tree, or nullptr.
QTreeWidgetItem* findNode(const TfrmArea& window, const QString& text);
// The texts of a root's children, in order.
QStringList childTexts(const QTreeWidgetItem* root);
