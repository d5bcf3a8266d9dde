#pragma once

#include "platform/Dispatch.h"

#include <QList>
#include <QString>

// Passes every call through to a data server and times QueryData and ExecuteBatch (in
// milliseconds), keeping each batch's text as committed or failed. Create with new; it
// deletes itself on the last release (use DispatchRef::adopt).
class TimedServer : public platform::DispatchObject {
public:
    // Takes its own reference on server.
    explicit TimedServer(platform::DispatchObject* server);

    const QList<double>& queryMilliseconds() const noexcept { return m_queryMilliseconds; }
    const QList<double>& batchMilliseconds() const noexcept { return m_batchMilliseconds; }
    const QStringList& committedBatches() const noexcept { return m_committed; }
    const QStringList& failedBatches() const noexcept { return m_failed; }

protected:
    ~TimedServer() override = default;
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    platform::DispatchRef<platform::DispatchObject> m_server;
    QList<double> m_queryMilliseconds;
    QList<double> m_batchMilliseconds;
    QStringList m_committed;
    QStringList m_failed;
};
