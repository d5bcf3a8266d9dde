#include "ClerkProcess.h"

#include "ClerkResult.h"
#include "ClerkScript.h"
#include "SessionFixture.h"
#include "TimedServer.h"

#include "host/HostContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <iostream>
#include <string>

int runClerk(const QStringList& arguments)
{
    if (arguments.size() != 5) {
        std::fprintf(stderr, "load_bench --clerk DATABASE OPERATOR SEED SECONDS RESULT-FILE\n");
        return 2;
    }
    const QString& database = arguments[0];
    server::DataServerOptions options;
    options.operatorCode = arguments[1];
    const quint32 seed = arguments[2].toUInt();
    const qint64 milliseconds = arguments[3].toLongLong() * 1000;

    SessionFixture fixture;
    QString error;
    if (!fixture.attach(database, options, error)) {
        std::fprintf(stderr, "clerk %s: %s\n", qPrintable(options.operatorCode), qPrintable(error));
        return 1;
    }
    auto timed = platform::DispatchRef<TimedServer>::adopt(new TimedServer(&fixture.realServer()));
    hostContext().Server = platform::DispatchRef<platform::DispatchObject>(timed.get());
    fixture.startWindow();
    if (!fixture.messages().isEmpty()) {
        std::fprintf(stderr, "clerk %s: start-up failed: %s\n", qPrintable(options.operatorCode),
                     qPrintable(fixture.messages().join(QLatin1Char('\n'))));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);

    ClerkScript script(fixture, seed);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        script.runStep();
        QCoreApplication::processEvents();
    }

    ClerkResult result;
    result.operatorCode = options.operatorCode;
    result.seconds = double(timer.elapsed()) / 1000.0;
    result.steps = script.steps();
    result.collisions = script.collisions();
    result.failures = script.failures();
    result.queryMilliseconds = timed->queryMilliseconds();
    result.batchMilliseconds = timed->batchMilliseconds();
    result.committedBatches = timed->committedBatches();
    result.failedBatches = timed->failedBatches();
    if (!result.save(arguments[4])) {
        std::fprintf(stderr, "clerk %s: cannot write %s\n", qPrintable(options.operatorCode),
                     qPrintable(arguments[4]));
        return 1;
    }
    return 0;
}
