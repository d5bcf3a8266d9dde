#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

namespace testsupport {
class ModalScript;
}

// Handlers for testsupport::ModalScript that drive the module's dialogs.
namespace dialogdriving {

// Shows the dialog as the modal loop would, runs action on it, hides it again and answers
// the result the dialog was ended with (or 0 when it was not ended).
std::function<int(QDialog&)> drive(std::function<void(QDialog&)> action);

// Answers a message dialog with OK after recording "caption|text" in seen.
std::function<int(QDialog&)> recordMessage(QStringList& seen);

} // namespace dialogdriving
