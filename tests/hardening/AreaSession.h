#pragma once

#include <QString>
#include <QStringList>

class SessionFixture;
class TfrmArea;

// What the user sees of the area window: the tree (roots and, indented, their children),
// the current node, and both lists with their selections.
struct WindowState {
    QStringList tree;
    QString current;
    QStringList mapped;
    QStringList mappedSelected;
    QStringList storage;
    QStringList storageSelected;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

WindowState captureState(const TfrmArea* window);
// One line per part, for failure messages.
QString describe(const WindowState& state);

// How the area dialog was left by the add or modify step: open or closed, and its edits.
struct DialogOutcome {
    bool driven = false;
    bool open = false;
    QString code;
    QString name;
    friend bool operator==(const DialogOutcome&, const DialogOutcome&) = default;
};

// The steps of the scripted session, in order: start-up, select areas, each transfer
// button, add, modify, delete, locate and find-next.
enum class SessionStep {
    Startup,
    SelectA01,
    MapSelected,   // "<" with S03 selected
    UnmapSelected, // ">" with S01 selected
    MapAll,        // "<<"
    UnmapAll,      // ">>"
    AddArea,       // C01 新区 as PUT
    SelectB01,
    ModifyB01,     // name becomes 改名
    SelectC01,
    DeleteC01,
    Locate,        // M01
    FindNext,      // F3 after the locate: nothing further
};

constexpr int SessionStepCount = int(SessionStep::FindNext) + 1;
QString stepName(SessionStep step);

// Runs one step on the fixture's window; the add and modify steps fill outcome.
void runStep(SessionFixture& fixture, SessionStep step, DialogOutcome& outcome);
