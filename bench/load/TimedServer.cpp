#include "TimedServer.h"

#include "platform/CoorDisp.h"

#include <QElapsedTimer>

TimedServer::TimedServer(platform::DispatchObject* server) : m_server(server) {}

platform::Variant TimedServer::dispatch(int32_t dispId, platform::DispatchArguments& arguments)
{
    const bool isBatch = dispId == platform::CoorDisp::ExecuteBatch;
    if (!isBatch && dispId != platform::CoorDisp::QueryData)
        return m_server->invoke(dispId, arguments);
    // The batch argument is replaced by the error list when the batch fails.
    const QString batch = isBatch && !arguments.empty() && arguments[0].value().isText()
                              ? arguments[0].value().text()
                              : QString();
    QElapsedTimer timer;
    timer.start();
    platform::Variant result = m_server->invoke(dispId, arguments);
    const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
    if (!isBatch) {
        m_queryMilliseconds << milliseconds;
        return result;
    }
    m_batchMilliseconds << milliseconds;
    (result.toBool() ? m_committed : m_failed) << batch;
    return result;
}
