#include "ModuleLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

std::unique_ptr<ModuleLibrary> ModuleLibrary::load(const QString& path, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return nullptr;
    };
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("模块文件不存在：%1").arg(path));
    dlerror();
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return fail(
            QStringLiteral("无法加载模块 %1：%2").arg(path, QString::fromLocal8Bit(dlerror())));
    dlerror();
    void* symbol = dlsym(handle, "GetNelvoForm");
    if (!symbol) {
        const char* reason = dlerror();
        const QString text = QString::fromLocal8Bit(reason ? reason : "null symbol");
        dlclose(handle); // no window of this library exists yet
        return fail(QStringLiteral("模块 %1 中没有函数 GetNelvoForm：%2").arg(path, text));
    }
    // The handle is deliberately kept open for the life of the process.
    return std::unique_ptr<ModuleLibrary>(
        new ModuleLibrary(path, reinterpret_cast<GetNelvoFormFunction>(symbol)));
}
