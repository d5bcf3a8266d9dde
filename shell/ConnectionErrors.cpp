#include "ConnectionErrors.h"

#include <array>

namespace {

struct KnownCause {
    const char* pattern; // a piece of libpq's or SQLite's text, matched without case
    const char* cause;
};

// First match wins: the more particular texts come first.
constexpr std::array KnownCauses{
    KnownCause{"password authentication failed", "密码不正确。"},
    KnownCause{"no password supplied", "数据库服务器要求输入密码。"},
    KnownCause{"does not exist", nullptr}, // database or role: told apart below
    KnownCause{"no pg_hba.conf entry", "数据库服务器不允许这个用户从本机连接这个数据库。"},
    KnownCause{"could not translate host name", "找不到数据库服务器的主机名。"},
    KnownCause{"definition of service", "找不到 PGSERVICE 指定的服务定义。"},
    KnownCause{"timeout expired", "连接数据库服务器超时。"},
    KnownCause{"connection refused",
               "数据库服务器没有响应（服务器没有运行，或者主机、端口不对）。"},
    KnownCause{"no such file or directory",
               "数据库服务器没有响应（服务器没有运行，或者主机、端口不对）。"},
    KnownCause{"file is not a database", "这个文件不是数据库。"},
    KnownCause{"readonly database", "没有写入这个数据库文件的权限。"},
    KnownCause{"unable to open database file", "无法打开数据库文件（文件夹不存在或者没有权限）。"},
    KnownCause{"无法写入 SQL 跟踪文件", "无法写入 SQL 跟踪文件。"},
};

} // namespace

namespace ConnectionErrors {

bool isWrongPassword(const QString& error)
{
    return error.contains(QLatin1String("password authentication failed"), Qt::CaseInsensitive);
}

QString cause(const QString& error)
{
    for (const KnownCause& known : KnownCauses) {
        if (!error.contains(QString::fromUtf8(known.pattern), Qt::CaseInsensitive))
            continue;
        if (known.cause)
            return QString::fromUtf8(known.cause);
        if (error.contains(QLatin1String("role \""), Qt::CaseInsensitive))
            return QStringLiteral("数据库服务器上没有这个用户。");
        if (error.contains(QLatin1String("database \""), Qt::CaseInsensitive))
            return QStringLiteral("数据库服务器上没有这个数据库。");
    }
    return QStringLiteral("无法打开数据库。");
}

QString describe(const QString& shownName, const QString& error)
{
    return QStringLiteral("无法打开数据库 %1\n%2\n\n详细信息：%3")
        .arg(shownName, cause(error), error.trimmed());
}

} // namespace ConnectionErrors
