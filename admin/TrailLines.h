#pragma once

#include "server/DataServer.h"

#include <QString>

namespace admin {

// A row of the trail as one line: "UPDATE tbQyda A01: {before} → {after}".
QString trailRowLine(const server::TrailRow& row);

} // namespace admin
