#pragma once

class QCoreApplication;

// Loads Qt's own translations (standard buttons, file chooser, command-line errors) into
// application. The shell speaks Chinese: the user's locale is used when it is a Chinese
// one, zh_CN otherwise, and it becomes the default locale (calendar, day names) too.
// False when no translation file was found (Qt's texts then stay English).
bool installQtTranslations(QCoreApplication& application);
