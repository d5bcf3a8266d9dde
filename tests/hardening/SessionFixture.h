#pragma once

#include "platform/Dispatch.h"
#include "server/DataServer.h"
#include "support/FaultInjectingServer.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TfrmArea;

// The small warehouse of the hardening tests:
//   PICK  A01 一号拣货区 (mapped to S01), A02 二号拣货区 (mapped to S02)
//   PUT   B01 A01备用
//   MPICK M01 管理区
//   storage areas S01 存储一, S02 存储二, S03 存储三, S04 存储四
extern const char* const WarehouseScript;

// The rows of the area and mapping tables, each row "a|b|c", sorted.
struct TableDump {
    QStringList areas;    // f_qybm|f_qymc|f_qylx
    QStringList mappings; // f_qylx|f_qybm|f_ccqybm
    friend bool operator==(const TableDump&, const TableDump&) = default;
};

// For QCOMPARE: both tables on one line.
char* toString(const TableDump& dump);

// One area window on a real SQLite data server wrapped in a FaultInjectingServer, with
// every modal thing intercepted: message boxes and the module's message dialogs are
// recorded ("caption|text") and answered OK; the area and locate dialogs are handed to
// the queued driver. Restores the real message boxes and modal loop when destroyed.
class SessionFixture {
public:
    using DialogDriver = std::function<int(QDialog&)>;

    SessionFixture();
    ~SessionFixture();
    SessionFixture(const SessionFixture&) = delete;
    SessionFixture& operator=(const SessionFixture&) = delete;

    // Fills database (a file path or a postgresql:// URI) with the demo system data and the
    // warehouse, closed again so a file can be copied; false with error.
    static bool createWarehouse(const QString& database, QString& error);

    // Opens a copy of the database file templatePath; false with error.
    bool open(const QString& templatePath, QString& error);
    // Opens the database itself (a file path or a postgresql:// URI); false with error.
    bool attach(const QString& database, QString& error);
    // The same with the server's options; the window works for their operator.
    bool attach(const QString& database, const server::DataServerOptions& options, QString& error);
    // The database file of this fixture.
    QString databasePath() const;

    testsupport::FaultInjectingServer& faults() const { return *m_faults.get(); }
    server::DataServer& realServer() const { return *m_server.get(); }

    // Creates the area window (its start-up runs now).
    void startWindow();
    TfrmArea* window() const { return m_window.get(); }

    // The driver of the next area or locate dialog.
    void setDialogDriver(DialogDriver driver) { m_driver = std::move(driver); }

    const QStringList& messages() const noexcept { return m_messages; }
    // Dialogs that arrived with no driver set.
    const QStringList& undriven() const noexcept { return m_undriven; }

    // The tables as the real server holds them (bypassing the fault wrapper).
    TableDump dump() const;
    // Runs a script on the real server; false with error.
    bool run(const QString& sql, QString* error = nullptr) const;

private:
    int interceptDialog(QDialog& dialog);

    QTemporaryDir m_folder;
    platform::DispatchRef<server::DataServer> m_server;
    platform::DispatchRef<testsupport::FaultInjectingServer> m_faults;
    std::unique_ptr<TfrmArea> m_window;
    DialogDriver m_driver;
    QStringList m_messages;
    QStringList m_undriven;
};
