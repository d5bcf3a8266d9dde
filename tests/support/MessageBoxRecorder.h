#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace testsupport {

// Replaces real message boxes for its lifetime: records every request and answers from a
// queue (IDOK once the queue is empty). Restores real message boxes when destroyed.
// One recorder at a time.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The answer of the next message box not yet answered (IDOK, IDCANCEL, IDYES, IDNO).
    void queueAnswer(int answer);

    const QList<platform::MessageBoxRequest>& requests() const noexcept { return m_requests; }
    int count() const noexcept { return int(m_requests.size()); }
    // The texts of all requests, in order.
    QStringList texts() const;
    // The latest request; an empty request (no text, owner 0) when there is none.
    platform::MessageBoxRequest last() const;
    void clear();

private:
    QList<platform::MessageBoxRequest> m_requests;
    QQueue<int> m_answers;
};

} // namespace testsupport
