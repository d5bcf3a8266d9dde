#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;

namespace testsupport {

// Drives modal dialogs for its lifetime: every dialog run through platform::execModal is
// handed to the next queued handler instead of a modal loop, and the handler's result
// becomes the dialog's result. A dialog arriving with no handler queued fails the running
// test (QTest::qFail) and gets IDCANCEL (2). Message boxes come through here as well
// unless a MessageBoxRecorder is active. Restores the real modal loop when destroyed.
class ModalScript {
public:
    using Handler = std::function<int(QDialog&)>;

    struct SeenDialog {
        QString objectName;
        QString windowTitle;
    };

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void queue(Handler handler);
    // A handler that only answers result.
    void queueResult(int result);

    // Every dialog seen, in order, handled or not.
    const QList<SeenDialog>& seen() const noexcept { return m_seen; }
    QStringList seenObjectNames() const;
    int pending() const noexcept { return int(m_handlers.size()); }
    // True once a dialog arrived with no handler queued.
    bool failed() const noexcept { return m_failed; }

private:
    int handle(QDialog& dialog);

    QQueue<Handler> m_handlers;
    QList<SeenDialog> m_seen;
    bool m_failed = false;
};

} // namespace testsupport
