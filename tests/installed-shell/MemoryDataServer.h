#pragma once

#include <nelvo/platform/Dispatch.h>

#include <QStringList>

// The data server of this shell: answers the calls the area window makes at start-up from
// tables held in memory, and records every call it has no answer for.
class MemoryDataServer : public platform::DispatchObject {
public:
    static constexpr int AreaCount = 3;
    static constexpr int StorageAreaCount = 4;

    QStringList unanswered; // one line per call it could not answer

protected:
    platform::Variant dispatch(int32_t dispId, platform::DispatchArguments& arguments) override;

private:
    bool queryData(const QString& sql, platform::DispatchArgument& data);
    bool refuse(const QString& call, platform::DispatchArgument& data);
};
