#include "Fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace platform {

namespace {

bool haveGui()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The first of candidates that is installed, else an empty text.
QString firstInstalled(const QStringList& candidates)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive))
            return candidate;
    }
    return QString();
}

void substitute(const QString& requested, const QStringList& candidates)
{
    QString family = firstInstalled(candidates);
    if (family.isEmpty())
        family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (!QFont::substitutes(requested).contains(family, Qt::CaseInsensitive))
        QFont::insertSubstitution(requested, family);
}

} // namespace

void installFontSubstitutions()
{
    if (!haveGui())
        return; // the font database needs a GUI application
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")};
    substitute(QStringLiteral("宋体"), cjk);
    substitute(QStringLiteral("SimSun"), cjk);
    substitute(QStringLiteral("MS Sans Serif"),
               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                QStringLiteral("Noto Sans"), QStringLiteral("FreeSans")});
}

QFont songtiFont(int pixelHeight)
{
    installFontSubstitutions();
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelHeight > 0 ? pixelHeight : 12);
    return font;
}

bool systemMessageFont(QFont& font)
{
    if (!haveGui())
        return false;
    font = qobject_cast<QApplication*>(QCoreApplication::instance())
               ? QApplication::font("QMessageBox")
               : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return true;
}

} // namespace platform
