// Automation value conversions and the standard text-to-integer conversion.
#include "platform/Variant.h"
#include "platform/Error.h"

#include <QTest>

using platform::Variant;

Q_DECLARE_METATYPE(Variant)

namespace {

enum class Target { Text, Int32, Double, Bool };

// Runs one conversion and gives its result as text, or the error message after "error: ".
QString convert(const Variant& value, Target target)
{
    try {
        switch (target) {
        case Target::Text:
            return value.toText();
        case Target::Int32:
            return QString::number(value.toInt32());
        case Target::Double:
            return QString::number(value.toDouble(), 'g', 17);
        case Target::Bool:
            return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        }
    } catch (const platform::Error& error) {
        return QStringLiteral("error: ") + error.message();
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Target)

class VariantTest : public QObject {
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
    void textToInt32_data();
    void textToInt32();
    void arrayBoundsAndCopies();
    void equality();
};

void VariantTest::conversions_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("expected");

    const QString nullTo =
        QStringLiteral("error: Could not convert variant of type (Null) into type (%1)");
    QTest::newRow("empty->text") << Variant() << Target::Text << "";
    QTest::newRow("empty->int") << Variant() << Target::Int32 << "0";
    QTest::newRow("empty->double") << Variant() << Target::Double << "0";
    QTest::newRow("empty->bool") << Variant() << Target::Bool << "false";
    QTest::newRow("null->text") << Variant::null() << Target::Text << nullTo.arg("String");
    QTest::newRow("null->int") << Variant::null() << Target::Int32 << nullTo.arg("Integer");
    QTest::newRow("null->double") << Variant::null() << Target::Double << nullTo.arg("Double");
    QTest::newRow("null->bool") << Variant::null() << Target::Bool << nullTo.arg("Boolean");

    QTest::newRow("true->text") << Variant(true) << Target::Text << "True";
    QTest::newRow("false->text") << Variant(false) << Target::Text << "False";
    QTest::newRow("true->int") << Variant(true) << Target::Int32 << "-1";
    QTest::newRow("false->int") << Variant(false) << Target::Int32 << "0";

    QTest::newRow("int->text") << Variant(int32_t(-42)) << Target::Text << "-42";
    QTest::newRow("int64->text") << Variant(int64_t(9007199254740993)) << Target::Text
                                 << "9007199254740993";
    QTest::newRow("int64 fits->int") << Variant(int64_t(-7)) << Target::Int32 << "-7";
    QTest::newRow("int64 overflow->int")
        << Variant(int64_t(1) << 40) << Target::Int32
        << "error: Overflow while converting variant of type (Int64) into type (Integer)";
    QTest::newRow("int 0->bool") << Variant(int32_t(0)) << Target::Bool << "false";
    QTest::newRow("int 2->bool") << Variant(int32_t(2)) << Target::Bool << "true";

    QTest::newRow("double->text") << Variant(1.5) << Target::Text << "1.5";
    QTest::newRow("double 15 digits") << Variant(0.1 + 0.2) << Target::Text << "0.3";
    QTest::newRow("double 2.5->int even") << Variant(2.5) << Target::Int32 << "2";
    QTest::newRow("double 3.5->int even") << Variant(3.5) << Target::Int32 << "4";
    QTest::newRow("double -2.5->int even") << Variant(-2.5) << Target::Int32 << "-2";
    QTest::newRow("double 2.6->int") << Variant(2.6) << Target::Int32 << "3";
    QTest::newRow("double overflow->int")
        << Variant(3e9) << Target::Int32
        << "error: Overflow while converting variant of type (Double) into type (Integer)";
    QTest::newRow("double int max") << Variant(2147483647.0) << Target::Int32 << "2147483647";

    QTest::newRow("text->int") << Variant("  -12") << Target::Int32 << "-12";
    QTest::newRow("text hex->int") << Variant("$FF") << Target::Int32 << "255";
    QTest::newRow("text abc->int")
        << Variant("abc") << Target::Int32 << "error: 'abc' is not a valid integer value";
    QTest::newRow("text trailing blank->int")
        << Variant("12 ") << Target::Int32 << "error: '12 ' is not a valid integer value";
    QTest::newRow("empty text->int")
        << Variant("") << Target::Int32 << "error: '' is not a valid integer value";
    QTest::newRow("text->double") << Variant(" 1.25e2 ") << Target::Double << "125";
    QTest::newRow("text comma->double")
        << Variant("1,5") << Target::Double << "error: '1,5' is not a valid floating point value";
    QTest::newRow("text inf->double")
        << Variant("inf") << Target::Double << "error: 'inf' is not a valid floating point value";
    QTest::newRow("text True->bool") << Variant("tRuE") << Target::Bool << "true";
    QTest::newRow("text False->bool") << Variant("FALSE") << Target::Bool << "false";
    QTest::newRow("text 0->bool") << Variant("0") << Target::Bool << "false";
    QTest::newRow("text -3->bool") << Variant("-3") << Target::Bool << "true";
    QTest::newRow("text 0.5->bool") << Variant("0.5") << Target::Bool << "true";
    QTest::newRow("text yes->bool")
        << Variant("yes") << Target::Bool
        << "error: Could not convert variant of type (String) into type (Boolean)";
    QTest::newRow("chinese text") << Variant(QStringLiteral("拣货区")) << Target::Text << "拣货区";

    const Variant array = Variant::array({Variant("a")});
    QTest::newRow("array->text")
        << array << Target::Text
        << "error: Could not convert variant of type (Array) into type (String)";
    QTest::newRow("array->int")
        << array << Target::Int32
        << "error: Could not convert variant of type (Array) into type (Integer)";
    QTest::newRow("bytes->text")
        << Variant(QByteArray("x")) << Target::Text
        << "error: Could not convert variant of type (ByteArray) into type (String)";
    QTest::newRow("bytes->bool")
        << Variant(QByteArray("x")) << Target::Bool
        << "error: Could not convert variant of type (ByteArray) into type (Boolean)";
}

void VariantTest::conversions()
{
    QFETCH(Variant, value);
    QFETCH(Target, target);
    QFETCH(QString, expected);
    QCOMPARE(convert(value, target), expected);
}

void VariantTest::textToInt32_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << "15528176" << true << 15528176;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-7" << true << -7;
    QTest::newRow("leading blanks") << "   42" << true << 42;
    QTest::newRow("dollar hex") << "$FF" << true << 255;
    QTest::newRow("dollar hex blue") << "$FF0000" << true << 0xFF0000;
    QTest::newRow("0x hex") << "0x1A" << true << 26;
    QTest::newRow("0X hex lower digits") << "0Xff" << true << 255;
    QTest::newRow("x hex") << "x1a" << true << 26;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("hex all bits") << "$FFFFFFFF" << true << -1;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("leading zeros") << "000123" << true << 123;

    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("negative overflow") << "-2147483649" << false << 0;
    QTest::newRow("hex overflow") << "$100000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "$" << false << 0;
    QTest::newRow("0x only") << "0x" << false << 0;
    QTest::newRow("trailing blank") << "1 " << false << 0;
    QTest::newRow("inner blank") << "- 1" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("hex digits without prefix") << "FF" << false << 0;
    QTest::newRow("decimal point") << "1.0" << false << 0;
    QTest::newRow("tab in front") << "\t1" << false << 0;
    QTest::newRow("fullwidth digit") << QStringLiteral("１") << false << 0;
}

void VariantTest::textToInt32()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);

    int32_t value = 12345;
    QCOMPARE(platform::tryTextToInt32(text, value), valid);
    if (valid) {
        QCOMPARE(value, expected);
        QCOMPARE(platform::textToInt32(text), expected);
    } else {
        try {
            platform::textToInt32(text);
            QFAIL("no error raised");
        } catch (const platform::Error& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
}

void VariantTest::arrayBoundsAndCopies()
{
    QList<Variant> elements{Variant("a"), Variant(int32_t(5))};
    const Variant array = Variant::array(elements, 1);
    QCOMPARE(array.lowerBound(), 1);
    QCOMPARE(array.upperBound(), 2);
    QCOMPARE(array.elements().size(), 2);

    const Variant empty = Variant::array({});
    QCOMPARE(empty.lowerBound(), 0);
    QCOMPARE(empty.upperBound(), -1);

    // A copy is independent of the list it was built from.
    elements[0] = Variant("changed");
    QCOMPARE(array.elements()[0].toText(), QStringLiteral("a"));

    QVERIFY_THROWS_EXCEPTION(platform::Error, Variant("text").lowerBound());
    QVERIFY_THROWS_EXCEPTION(platform::Error, Variant().elements());
}

void VariantTest::equality()
{
    QVERIFY(Variant("a") == Variant(QStringLiteral("a")));
    QVERIFY(!(Variant("a") == Variant("A")));
    QVERIFY(Variant::null() == Variant::null());
    QVERIFY(!(Variant::null() == Variant()));
    QVERIFY(!(Variant(int32_t(1)) == Variant(true)));
    QVERIFY(Variant::array({Variant(1.5)}, 1) == Variant::array({Variant(1.5)}, 1));
    QVERIFY(!(Variant::array({Variant(1.5)}, 1) == Variant::array({Variant(1.5)}, 0)));
    QVERIFY(Variant(QByteArray("\x00\x01", 2)) == Variant(QByteArray("\x00\x01", 2)));
    // long long (qint64) picks the 64-bit constructor.
    QCOMPARE(Variant(qint64(1) << 33).type(), Variant::Type::Int64);
}

QTEST_APPLESS_MAIN(VariantTest)
#include "VariantTest.moc"
