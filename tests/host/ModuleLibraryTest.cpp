// The built module library as a shell sees it: one exported function, and unloading it
// gives back the server reference it held.
#include "HostWindowRecorder.h"
#include "nelvo/NelvoModule.h"
#include "platform/CoorDisp.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScriptedServer.h"

#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <dlfcn.h>

using testsupport::ScriptedAnswer;
using testsupport::ScriptedServer;

namespace {

const char* const ModulePath = NELVO_AREA_MODULE_PATH;

} // namespace

class ModuleLibraryTest : public QObject {
    Q_OBJECT
private slots:
    void exportsOnlyGetNelvoForm();
    void unloadReleasesServer();
};

void ModuleLibraryTest::exportsOnlyGetNelvoForm()
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                    QString::fromLocal8Bit(ModulePath)});
    QVERIFY2(nm.waitForFinished(30000), "nm did not run");
    QCOMPARE(nm.exitCode(), 0);
    // The linker's own section markers may appear; they are no functions.
    const QSet<QString> linkerMarkers{QStringLiteral("__bss_start"), QStringLiteral("_edata"),
                                      QStringLiteral("_end")};
    QStringList exported;
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split(u'\n')) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() == 3 && !linkerMarkers.contains(fields[2]))
            exported.append(fields[1] + u' ' + fields[2]);
    }
    QCOMPARE(exported, QStringList{QStringLiteral("T GetNelvoForm")});
}

void ModuleLibraryTest::unloadReleasesServer()
{
    testsupport::MessageBoxRecorder boxes;
    auto* server = new ScriptedServer;
    auto serverRef = platform::DispatchRef<ScriptedServer>::adopt(server);
    server->setDefault(platform::CoorDisp::GetDatabaseType, ScriptedAnswer::value("SQLSERVER"));
    server->setDefault(platform::CoorDisp::GetServerYearMonth, ScriptedAnswer::value(false));
    const uint32_t start = server->referenceCount();

    void* library = dlopen(ModulePath, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    auto entry = reinterpret_cast<GetNelvoFormFunction>(dlsym(library, "GetNelvoForm"));
    QVERIFY(entry);

    HostWindowRecorder host;
    QWidget parent;
    parent.resize(640, 480);
    const unsigned char operatorCode[] = {4, '0', '0', '0', '1'};
    entry(7, &host, operatorCode, &parent, server);
    QPointer<QWidget> window = parent.findChild<QWidget*>(QStringLiteral("frmArea"));
    QVERIFY(window);
    QCOMPARE(server->referenceCount(), start + 2); // the module's and its window's context
    window->close();
    QCOMPARE(host.messages.size(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
    QCOMPARE(server->referenceCount(), start + 1);

    QCOMPARE(dlclose(library), 0);
    QVERIFY2(!dlopen(ModulePath, RTLD_NOW | RTLD_NOLOAD), "the module stayed loaded");
    QCOMPARE(server->referenceCount(), start);
}

QTEST_MAIN(ModuleLibraryTest)
#include "ModuleLibraryTest.moc"
