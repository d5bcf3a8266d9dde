#include "shared/ParameterRows.h"

bool ParameterRows::find(const QString& key, bool exactCase, platform::Variant& value)
{
    if (!m_rows.locate(QStringLiteral("f_Csmc"), {platform::Variant(key)}, !exactCase))
        return false;
    value = m_rows.fieldValue(QStringLiteral("f_csz"));
    return true;
}
