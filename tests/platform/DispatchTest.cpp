// Counted references and the late-bound call mechanism of dispatch objects.
#include "platform/Dispatch.h"
#include "platform/Error.h"

#include <QTest>
#include <stdexcept>

using platform::DispatchArgument;
using platform::DispatchArguments;
using platform::DispatchError;
using platform::Variant;

namespace {

// Member 1: echoes its by-value argument into its by-ref one and answers true.
// Member 2: writes into its first argument (fails when that is by value).
// Member 3: throws a standard exception; member 4 throws something that is no exception.
class EchoObject : public platform::DispatchObject {
public:
    explicit EchoObject(bool* destroyed) : m_destroyed(destroyed) {}

protected:
    ~EchoObject() override { *m_destroyed = true; }

    Variant dispatch(int32_t dispId, DispatchArguments& arguments) override
    {
        switch (dispId) {
        case 1:
            if (arguments.size() != 2)
                throw DispatchError(QStringLiteral("Invalid number of parameters"));
            arguments[1].setValue(arguments[0].value());
            return true;
        case 2:
            arguments.at(0).setValue(Variant("written"));
            return Variant();
        case 3:
            throw std::runtime_error("callee failed");
        case 4:
            throw 42;
        default:
            throw DispatchError(QStringLiteral("Unknown name"));
        }
    }

private:
    bool* m_destroyed;
};

} // namespace

class DispatchTest : public QObject {
    Q_OBJECT

private slots:
    void referenceCounts();
    void byRefArgumentIsReplaced();
    void mechanismErrors_data();
    void mechanismErrors();
};

void DispatchTest::referenceCounts()
{
    bool destroyed = false;
    auto* object = new EchoObject(&destroyed);
    QCOMPARE(object->referenceCount(), 1u);
    QCOMPARE(object->addRef(), 2u);
    QCOMPARE(object->release(), 1u);
    {
        auto owner = platform::DispatchRef<EchoObject>::adopt(object);
        QCOMPARE(object->referenceCount(), 1u);
        {
            platform::DispatchRef<EchoObject> copy = owner;
            platform::DispatchRef<EchoObject> second(object);
            QCOMPARE(object->referenceCount(), 3u);
            platform::DispatchRef<EchoObject> moved = std::move(copy);
            QVERIFY(!copy);
            QCOMPARE(object->referenceCount(), 3u);
            moved = second; // assignment releases the old one and adds the new
            QCOMPARE(object->referenceCount(), 3u);
        }
        QCOMPARE(object->referenceCount(), 1u);
        QVERIFY(!destroyed);
    }
    QVERIFY(destroyed);
}

void DispatchTest::byRefArgumentIsReplaced()
{
    bool destroyed = false;
    auto object = platform::DispatchRef<EchoObject>::adopt(new EchoObject(&destroyed));
    Variant data;
    const Variant result = object->invoke(
        1, {DispatchArgument::byValue(Variant("select 1")), DispatchArgument::byRef(data)});
    QCOMPARE(result.toBool(), true);
    QCOMPARE(data.toText(), QStringLiteral("select 1"));

    Variant target("before");
    object->invoke(2, {DispatchArgument::byRef(target)});
    QCOMPARE(target.toText(), QStringLiteral("written"));
}

void DispatchTest::mechanismErrors_data()
{
    QTest::addColumn<int>("dispId");
    QTest::addColumn<int>("argumentCount");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown id") << 99 << 0 << "Unknown name";
    QTest::newRow("wrong argument count") << 1 << 1 << "Invalid number of parameters";
    QTest::newRow("by-value argument written")
        << 2 << 1 << "Cannot write to an argument passed by value";
    QTest::newRow("callee throws std exception") << 3 << 0 << "callee failed";
    QTest::newRow("callee throws anything")
        << 4 << 0 << "Dispatch call 4 failed with an unknown exception";
}

void DispatchTest::mechanismErrors()
{
    QFETCH(int, dispId);
    QFETCH(int, argumentCount);
    QFETCH(QString, message);

    bool destroyed = false;
    auto object = platform::DispatchRef<EchoObject>::adopt(new EchoObject(&destroyed));
    DispatchArguments arguments;
    for (int i = 0; i < argumentCount; ++i)
        arguments.push_back(DispatchArgument::byValue(Variant("v")));
    try {
        object->invoke(dispId, arguments);
        QFAIL("no error raised");
    } catch (const DispatchError& error) {
        QCOMPARE(error.message(), message);
    }
    QCOMPARE(object->referenceCount(), 1u);
}

QTEST_APPLESS_MAIN(DispatchTest)
#include "DispatchTest.moc"
