// A scripted session through the real area window and dialogs on a real SQLite server, with
// every call of the session made to fail in every way, one at a time: the user is told, the
// tree and lists are left as the failure rules say, and the database holds exactly what the
// calls before the failing one wrote.
#include "AreaSession.h"
#include "FailureRules.h"
#include "SessionFixture.h"

#include "area/TfrmArea.h"
#include "platform/CoorDisp.h"

#include <QtTest>

using testsupport::FaultInjectingServer;
using testsupport::FaultKind;

Q_DECLARE_METATYPE(FaultKind)

namespace {

// The messages of after that are not among before (each counted once).
QStringList newMessages(QStringList after, const QStringList& before)
{
    for (const QString& message : before)
        after.removeOne(message);
    return after;
}

} // namespace

class FaultSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void faultFreeSessionChangesTheTables();
    void everyCallFailsInEveryWay_data();
    void everyCallFailsInEveryWay();

private:
    // The session without faults: every call, the step it belongs to, and what the window,
    // the messages and the tables looked like after each call and each step.
    struct Reference {
        QList<FaultInjectingServer::Call> calls;
        QList<SessionStep> stepOfCall;
        TableDump initialTables;
        QList<TableDump> tablesAfterCall;
        QList<WindowState> stateAfterStep;
        QList<QStringList> messagesOfStep;
        QList<DialogOutcome> outcomeOfStep;
        QList<TableDump> tablesAfterStep;
    };

    QTemporaryDir m_templateFolder;
    QString m_template;
    Reference m_reference;
};

void FaultSessionTest::initTestCase()
{
    QVERIFY(m_templateFolder.isValid());
    m_template = m_templateFolder.filePath(QStringLiteral("template.db"));
    QString error;
    QVERIFY2(SessionFixture::createWarehouse(m_template, error), qPrintable(error));

    SessionFixture fixture;
    QVERIFY2(fixture.open(m_template, error), qPrintable(error));
    Reference& reference = m_reference;
    reference.initialTables = fixture.dump();
    SessionStep current = SessionStep::Startup;
    fixture.faults().setAfterCall([&](const FaultInjectingServer::Call& call) {
        reference.calls << call;
        reference.stepOfCall << current;
        reference.tablesAfterCall << fixture.dump();
    });
    for (int step = 0; step < SessionStepCount; ++step) {
        current = SessionStep(step);
        const QStringList before = fixture.messages();
        DialogOutcome outcome;
        prepareStep(fixture, current);
        runStep(fixture, current, outcome);
        reference.stateAfterStep << captureState(fixture.window());
        reference.messagesOfStep << fixture.messages().mid(before.size());
        reference.outcomeOfStep << outcome;
        reference.tablesAfterStep << fixture.dump();
    }
    fixture.faults().setAfterCall({});
    QVERIFY(fixture.undriven().isEmpty());
}

void FaultSessionTest::faultFreeSessionChangesTheTables()
{
    // The reference the faulty sessions are measured against does what the user asked.
    const Reference& reference = m_reference;
    QCOMPARE(reference.messagesOfStep.value(int(SessionStep::FindNext)),
             QStringList{QStringLiteral("警告|找不到该信息！")});
    QCOMPARE(reference.messagesOfStep.value(int(SessionStep::DeleteC01)),
             QStringList{QStringLiteral("提示：|确定要删除此区域档案嘛？")});
    for (int step = 0; step < int(SessionStep::DeleteC01); ++step)
        QVERIFY2(reference.messagesOfStep[step].isEmpty(),
                 qPrintable(stepName(SessionStep(step)) +
                            reference.messagesOfStep[step].join(QLatin1Char(' '))));
    const auto after = [&](SessionStep step) { return reference.stateAfterStep[int(step)]; };
    QCOMPARE(after(SessionStep::SelectA01).mapped, QStringList{QStringLiteral("S01 存储一")});
    QCOMPARE(after(SessionStep::MapSelected).mapped,
             (QStringList{QStringLiteral("S01 存储一"), QStringLiteral("S03 存储三")}));
    QCOMPARE(after(SessionStep::UnmapSelected).mapped, QStringList{QStringLiteral("S03 存储三")});
    QCOMPARE(after(SessionStep::MapAll).mapped,
             (QStringList{QStringLiteral("S01 存储一"), QStringLiteral("S03 存储三"),
                          QStringLiteral("S04 存储四")}));
    QVERIFY(after(SessionStep::UnmapAll).mapped.isEmpty());
    QVERIFY(after(SessionStep::AddArea).tree.contains(QStringLiteral("  C01 新区")));
    QCOMPARE(reference.outcomeOfStep[int(SessionStep::AddArea)],
             (DialogOutcome{true, true, QString(), QString()}));
    QVERIFY(after(SessionStep::ModifyB01).tree.contains(QStringLiteral("  B01 改名")));
    QVERIFY(!after(SessionStep::DeleteC01).tree.contains(QStringLiteral("  C01 新区")));
    QCOMPARE(after(SessionStep::Locate).current, QStringLiteral("M01 管理区"));
    QCOMPARE(
        reference.tablesAfterStep.last(),
        (TableDump{{QStringLiteral("A01|一号拣货区|PICK"), QStringLiteral("A02|二号拣货区|PICK"),
                    QStringLiteral("B01|改名|PUT"), QStringLiteral("M01|管理区|MPICK")},
                   {QStringLiteral("PICK|A02|S02")}}));
    QVERIFY(reference.calls.size() > 15);
}

void FaultSessionTest::everyCallFailsInEveryWay_data()
{
    QTest::addColumn<int>("callNumber");
    QTest::addColumn<FaultKind>("kind");
    const FaultKind kinds[] = {FaultKind::ErrorPayload,     FaultKind::NotAnArray,
                               FaultKind::NumberAmongTexts, FaultKind::Raise,
                               FaultKind::MissingColumn,    FaultKind::NotAPacket,
                               FaultKind::UnreadableValue};
    for (int call = 1; call <= m_reference.calls.size(); ++call) {
        const SessionStep step = m_reference.stepOfCall[call - 1];
        for (FaultKind kind : kinds)
            QTest::addRow("call %d (%s, id %d), %s", call, qPrintable(stepName(step)),
                          m_reference.calls[call - 1].dispId, qPrintable(kindName(kind)))
                << call << kind;
    }
}

void FaultSessionTest::everyCallFailsInEveryWay()
{
    QFETCH(int, callNumber);
    QFETCH(FaultKind, kind);
    const Reference& reference = m_reference;
    const SessionStep failingStep = reference.stepOfCall[callNumber - 1];
    const int stepIndex = int(failingStep);
    const CallRole role = roleOf(reference.calls[callNumber - 1], failingStep);

    SessionFixture fixture;
    QString error;
    QVERIFY2(fixture.open(m_template, error), qPrintable(error));
    fixture.faults().arm(callNumber, kind);
    DialogOutcome outcome;
    for (int step = 0; step < stepIndex; ++step) {
        prepareStep(fixture, SessionStep(step));
        runStep(fixture, SessionStep(step), outcome);
    }
    prepareStep(fixture, failingStep);
    const WindowState before = captureState(fixture.window());
    const int messagesBefore = int(fixture.messages().size());
    outcome = {};
    runStep(fixture, failingStep, outcome);

    QVERIFY(fixture.undriven().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor()); // the busy cursor went with the failed call
    QVERIFY(fixture.faults().callCount() >= callNumber);
    QCOMPARE(fixture.faults().calls()[callNumber - 1].dispId,
             reference.calls[callNumber - 1].dispId);
    const WindowState after = captureState(fixture.window());
    const QStringList messages = fixture.messages().mid(messagesBefore);
    const TableDump tables = fixture.dump();

    const bool unchanged = after == reference.stateAfterStep[stepIndex] &&
                           messages == reference.messagesOfStep[stepIndex] &&
                           tables == reference.tablesAfterStep[stepIndex] &&
                           outcome == reference.outcomeOfStep[stepIndex];
    if (unchanged) {
        // Only an answer the window does not read may pass unnoticed: a column or a value it
        // does not use, a spoilt by-ref argument of a call that answered true without one.
        QVERIFY2(kind == FaultKind::MissingColumn || kind == FaultKind::UnreadableValue ||
                     !fixture.faults().faultDelivered() || role == CallRole::DatabaseType,
                 "the failure went unnoticed");
        return;
    }

    const QStringList told = newMessages(messages, reference.messagesOfStep[stepIndex]);
    QVERIFY2(toldTheUser(told, role, kind, callNumber),
             qPrintable(told.join(QLatin1String(" / "))));

    // Nothing after the failing call wrote anything.
    const TableDump expectedTables =
        callNumber == 1 ? reference.initialTables : reference.tablesAfterCall[callNumber - 2];
    QCOMPARE(tables.areas, expectedTables.areas);
    QCOMPARE(tables.mappings, expectedTables.mappings);

    const WindowState expected =
        expectedAfterFailure(role, kind, before, reference.stateAfterStep[stepIndex]);
    QCOMPARE(after.tree, expected.tree);
    QCOMPARE(after.current, expected.current);
    QCOMPARE(after.mapped, expected.mapped);
    QCOMPARE(after.mappedSelected, expected.mappedSelected);
    QCOMPARE(after.storage, expected.storage);
    QCOMPARE(after.storageSelected, expected.storageSelected);

    if (role == CallRole::DuplicateQuery || role == CallRole::InsertBatch)
        QCOMPARE(outcome,
                 (DialogOutcome{true, true, QStringLiteral("C01"), QStringLiteral("新区")}));
    if (role == CallRole::UpdateBatch)
        QCOMPARE(outcome,
                 (DialogOutcome{true, true, QStringLiteral("B01"), QStringLiteral("改名")}));

    // The window goes on working: the rest of the session runs without an unscripted dialog.
    for (int step = stepIndex + 1; step < SessionStepCount; ++step) {
        prepareStep(fixture, SessionStep(step));
        runStep(fixture, SessionStep(step), outcome);
    }
    QVERIFY(fixture.undriven().isEmpty());
}

QTEST_MAIN(FaultSessionTest)
#include "FaultSessionTest.moc"
