#pragma once

#include "nelvo/NelvoModule.h"

#include <QString>
#include <memory>

// The module library, loaded by path with dlopen. It is never unloaded: module windows
// may outlive any owner of this object, and their code must stay mapped.
class ModuleLibrary {
public:
    // Loads the library and resolves GetNelvoForm. Returns nullptr and sets error, naming
    // the missing file or symbol, when that fails.
    static std::unique_ptr<ModuleLibrary> load(const QString& path, QString* error);

    const QString& path() const { return m_path; }
    GetNelvoFormFunction entry() const { return m_entry; }

private:
    ModuleLibrary(QString path, GetNelvoFormFunction entry)
        : m_path(std::move(path)), m_entry(entry)
    {
    }

    QString m_path;
    GetNelvoFormFunction m_entry;
};
