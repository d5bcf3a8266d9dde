// Helper of the kill test: opens the data server on a database and sends one large batch
// of inserts through ExecuteBatch. Prints "batch" just before the call and "done" after it.
//   hardening_batch_writer <database> <count>
#include "platform/CoorDisp.h"
#include "server/DataServer.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3)
        return 2;
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(arguments[1],
                                 {.operatorCode = {},
                                  .sqlTraceFile = {},
                                  .createSchema = true,
                                  .readOnly = false,
                                  .ownerBatches = true},
                                 &error));
    if (!server) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const int count = arguments[2].toInt();
    QString batch;
    for (int i = 0; i < count; ++i)
        batch += QStringLiteral("insert into tbCCQyda(f_ccqybm,f_ccqymc) values('K%1','批量');")
                     .arg(i, 6, 10, QLatin1Char('0'));
    platform::Variant argument(batch);
    std::printf("batch\n");
    std::fflush(stdout);
    platform::DispatchArguments call{platform::DispatchArgument::byRef(argument)};
    const bool ok = server->invoke(platform::CoorDisp::ExecuteBatch, call).toBool();
    std::printf(ok ? "done\n" : "failed\n");
    std::fflush(stdout);
    return ok ? 0 : 1;
}
