#pragma once

// What module unload does: clears OperatorCode and LocateText, then releases the one
// Server reference. Runs from a static guard when the library is unloaded (or the process
// ends); callable directly by tests. Safe to call more than once.
void unloadModule();
