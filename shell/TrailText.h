#pragma once

#include <QString>

namespace server {
struct TrailRow;
}

// How the history shows the trail's rows to a clerk: Chinese names of operations and
// tables, and the row's values as "field=value" text.
namespace TrailText {

// "新增", "修改", "删除"; anything else as it is.
QString operationName(const QString& operation);
// "区域档案", "存储区域", "区域对照", "会计期间"; anything else as it is.
QString tableName(const QString& table);

// The row before and after its change as "field=value, ..." texts: every field for an
// insert (after) or a delete (before); for an update only the fields that changed (all of
// them when none did). A text that is not a JSON object is shown as it is.
struct Change {
    QString before;
    QString after;
};
Change change(const server::TrailRow& row);

// A text's length for a clerk: "1,300,000 个字符".
QString sizeText(qsizetype characters);
// The first characters of text on one line, with its size when it is cut.
QString preview(const QString& text, qsizetype characters);

} // namespace TrailText
