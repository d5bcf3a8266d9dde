#pragma once

#include "platform/ClientDataset.h"
#include "platform/Variant.h"

#include <QString>

// The system-parameter rows of a loaded packet: name in f_Csmc, value in f_csz.
class ParameterRows {
public:
    explicit ParameterRows(platform::ClientDataset& rows) : m_rows(rows) {}

    // Finds the first row, in packet order, whose name equals key as a whole (ignoring
    // letter case unless exactCase) and sets value to its f_csz. False when there is none.
    // A row with an empty value is found. Raises platform::Error for a missing column.
    bool find(const QString& key, bool exactCase, platform::Variant& value);

private:
    platform::ClientDataset& m_rows;
};
