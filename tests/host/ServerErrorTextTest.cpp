// The text of a server error list: lines joined by CR LF, the unknown-error fallback.
#include "host/ServerErrorText.h"

#include <QTest>

using platform::Variant;

class ServerErrorTextTest : public QObject {
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
};

void ServerErrorTextTest::formats_data()
{
    QTest::addColumn<Variant>("payload");
    QTest::addColumn<QString>("text");
    const QString unknown = QStringLiteral("未知错误！");
    QTest::newRow("two texts") << Variant::array({Variant("A"), Variant("B")})
                               << QStringLiteral("A\r\nB");
    QTest::newRow("one text") << Variant::array({Variant("表不存在")})
                              << QStringLiteral("表不存在");
    QTest::newRow("empty array") << Variant::array({}) << QString();
    QTest::newRow("lower bound 1")
        << Variant::array({Variant("A"), Variant("B")}, 1) << QStringLiteral("A\r\nB");
    QTest::newRow("single text, no array") << Variant("A") << unknown;
    QTest::newRow("empty variant") << Variant() << unknown;
    QTest::newRow("text then number")
        << Variant::array({Variant("A"), Variant(int32_t(5))}) << QStringLiteral("A\r\n") + unknown;
    QTest::newRow("number stops the list")
        << Variant::array({Variant(int32_t(5)), Variant("B")}) << unknown;
    QTest::newRow("null element") << Variant::array({Variant::null()}) << unknown;
    QTest::newRow("nested array") << Variant::array({Variant::array({Variant("A")})}) << unknown;
    QTest::newRow("empty text element")
        << Variant::array({Variant(""), Variant("B")}) << QStringLiteral("\r\nB");
}

void ServerErrorTextTest::formats()
{
    QFETCH(Variant, payload);
    QFETCH(QString, text);
    QCOMPARE(serverErrorText(payload), text);
}

QTEST_GUILESS_MAIN(ServerErrorTextTest)
#include "ServerErrorTextTest.moc"
