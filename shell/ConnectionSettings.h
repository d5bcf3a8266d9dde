#pragma once

#include <QString>

// What the shell remembers between runs (QSettings of the user): the database chosen in
// the connection dialog, never with a password, and the last operator who logged in.
namespace ConnectionSettings {

// Empty when nothing was chosen yet.
QString rememberedDatabase();
// Stores database without any password it holds.
void rememberDatabase(const QString& database);

QString lastOperator();
void rememberOperator(const QString& code);

} // namespace ConnectionSettings
