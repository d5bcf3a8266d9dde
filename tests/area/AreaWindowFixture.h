#pragma once

#include "RecordingServer.h"
#include "area/TfrmArea.h"
#include "support/MessageBoxRecorder.h"

#include <QPointer>
#include <QTemporaryDir>
#include <memory>

// A small warehouse in a SQLite database of the real data server, and an area window
// opened on it through the module entry. Areas (code, name, stored kind): A01 一号拣货区
// PICK, A02 二号拣货区 pick, A03 坏区 "PICK " (never shown), B01 补货区 PUT, C01 管理区
// MPICK, X01 其他 OTHER (never shown). Storage areas, in table order: S03, S01, S02, s04,
// S04, S05. Mappings: PICK A01-S01, PICK A02-S02, PUT B01-S01, MPICK C01-s04.
class AreaWindowFixture {
public:
    AreaWindowFixture();
    ~AreaWindowFixture();

    // Creates the database; extraSql runs after the fixture rows. False with a message.
    bool create(const QString& extraSql, QString& error);
    // Opens the window through GetNelvoForm; nullptr when none was created.
    TfrmArea* openWindow();

    RecordingServer& server() { return *m_recording; }
    testsupport::MessageBoxRecorder& boxes() { return m_boxes; }
    // Rows of tbqydz as "kind area storage", ordered.
    QStringList mappingRows();

    // Selects the tree node with this text (as a click would).
    static bool selectNode(TfrmArea* window, const QString& text);
    static QStringList lines(const StorageAreaList* list);
    static void selectLines(StorageAreaList* list, const QStringList& texts);
    static QStringList selectedLines(const StorageAreaList* list);

private:
    QTemporaryDir m_folder;
    testsupport::MessageBoxRecorder m_boxes;
    RecordingServer* m_recording = nullptr;
    platform::DispatchRef<RecordingServer> m_recordingRef;
    platform::DispatchObject* m_database = nullptr;
    std::unique_ptr<QWidget> m_parent;
};
