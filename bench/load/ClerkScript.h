#pragma once

#include <QMap>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

class SessionFixture;

// A seeded random script that drives one clerk's area window through its public controls:
// selecting areas, "<", ">", "<<", ">>", add, modify, delete, and now and then reopening the
// window. Every message the window shows is sorted into a kind: the collisions that many
// clerks on shared areas expect (constraints, the window's own checks), or a failure.
class ClerkScript {
public:
    ClerkScript(SessionFixture& fixture, quint32 seed);

    // Runs one randomly chosen step.
    void runStep();

    const QMap<QString, int>& steps() const noexcept { return m_steps; }
    // Expected refusals and collisions by kind.
    const QMap<QString, int>& collisions() const noexcept { return m_collisions; }
    // Anything else the window showed, by message.
    const QMap<QString, int>& failures() const noexcept { return m_failures; }

    // The kind of a message ("caption|text" as the fixture records it); empty for the
    // delete question, which is not an error. Failures start with "unexpected: ".
    static QString kindOf(const QString& message);

private:
    void selectRandomArea();
    void mapSome(bool all);
    void unmapSome(bool all);
    void addArea();
    void renameArea();
    void deleteArea();
    void reopen();
    // Sorts the messages shown since index first.
    void sortMessages(qsizetype first);

    SessionFixture& m_fixture;
    QRandomGenerator m_random;
    QMap<QString, int> m_steps;
    QMap<QString, int> m_collisions;
    QMap<QString, int> m_failures;
};
