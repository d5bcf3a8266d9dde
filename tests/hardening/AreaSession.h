#pragma once

#include <QString>
#include <QStringList>

class StorageAreaList;
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

// Makes the node with exactly this text the current one; false when there is none.
bool select(TfrmArea* window, const QString& text);
// Selects the line with exactly this text and no other.
void selectOnly(StorageAreaList* list, const QString& text);
// The add button, with the dialog filled (kind index, code, name) and confirmed once.
void addArea(SessionFixture& fixture, int kindIndex, const QString& code, const QString& name,
             DialogOutcome& outcome);
// The modify button on the current node, with the name replaced and confirmed.
void renameSelectedArea(SessionFixture& fixture, const QString& name, DialogOutcome& outcome);
// The locate button, confirmed with this search text.
void locate(SessionFixture& fixture, const QString& text);

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
    ModifyB01, // name becomes 改名
    SelectC01,
    DeleteC01,
    Locate,   // M01
    FindNext, // F3 after the locate: nothing further
};

constexpr int SessionStepCount = int(SessionStep::FindNext) + 1;
QString stepName(SessionStep step);

// Selects what a step works on (the lines the transfer buttons take).
void prepareStep(SessionFixture& fixture, SessionStep step);
// Runs one prepared step on the fixture's window; the add and modify steps fill outcome.
void runStep(SessionFixture& fixture, SessionStep step, DialogOutcome& outcome);
