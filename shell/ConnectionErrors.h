#pragma once

#include <QString>

// Why a database could not be opened, in the clerk's language. The data server reports
// libpq's and SQLite's own (English) texts; the common causes are recognised in them.
namespace ConnectionErrors {

// The PostgreSQL server refused the password that was given.
bool isWrongPassword(const QString& error);

// One sentence naming the cause ("密码不正确。", "数据库服务器上没有这个数据库。", ...), a
// general one when the cause is not recognised.
QString cause(const QString& error);

// The whole text of the message box: what could not be opened (shownName, never holding
// a password), the cause, and the database's own text.
QString describe(const QString& shownName, const QString& error);

} // namespace ConnectionErrors
