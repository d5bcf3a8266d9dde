#pragma once

#include "shared/TsysmsgInfo.h"

#include <QString>

class ParameterRows;

// Runs the system-parameter steps selected by items, in catalogue order: each looks its key
// up in rows and writes its field from the value or from the step's default. Answers false
// with errorText set to the message of the first missing mandatory parameter; fields of
// earlier steps keep their new values. The steps for dybm and sphsfs consult info.dwlx.
// Raises platform::Error for a value that cannot be converted or a missing column.
bool ApplyParameterCatalogue(ParameterRows& rows, const TsysmsgItems& items, TsysmsgInfo& info,
                             QString& errorText);

// Number of steps in the catalogue and the key of step index (0-based), in order.
int ParameterCatalogueSize();
QString ParameterCatalogueKey(int index);
