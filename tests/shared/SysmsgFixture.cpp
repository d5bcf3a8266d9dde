#include "SysmsgFixture.h"

#include "shared/ParameterCatalogue.h"

QList<SysmsgFixture::Row> SysmsgFixture::fullRows()
{
    QList<Row> rows{{QStringLiteral("dwlx"), platform::Variant("00")},
                    {QStringLiteral("mdzdyjj"), platform::Variant("1")}};
    for (int i = 0; i < ParameterCatalogueSize(); ++i)
        rows.append({ParameterCatalogueKey(i), platform::Variant("1")});
    return rows;
}

void setRow(QList<SysmsgFixture::Row>& rows, const QString& key, const platform::Variant& value)
{
    for (SysmsgFixture::Row& row : rows) {
        if (row.first == key) {
            row.second = value;
            return;
        }
    }
    rows.append({key, value});
}

void removeRow(QList<SysmsgFixture::Row>& rows, const QString& key)
{
    rows.removeIf([&](const SysmsgFixture::Row& row) { return row.first == key; });
}
