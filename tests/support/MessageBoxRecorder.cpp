#include "MessageBoxRecorder.h"

namespace testsupport {

MessageBoxRecorder::MessageBoxRecorder()
{
    platform::setMessageBoxInterceptor([this](const platform::MessageBoxRequest& request) {
        m_requests.append(request);
        return m_answers.isEmpty() ? platform::IDOK : m_answers.dequeue();
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    platform::setMessageBoxInterceptor({});
}

void MessageBoxRecorder::queueAnswer(int answer)
{
    m_answers.enqueue(answer);
}

QStringList MessageBoxRecorder::texts() const
{
    QStringList texts;
    for (const platform::MessageBoxRequest& request : m_requests)
        texts.append(request.text);
    return texts;
}

platform::MessageBoxRequest MessageBoxRecorder::last() const
{
    if (m_requests.isEmpty())
        return platform::MessageBoxRequest{0, QString(), QString(), platform::MessageBoxButtons::Ok,
                                           platform::MessageBoxIcon::None};
    return m_requests.last();
}

void MessageBoxRecorder::clear()
{
    m_requests.clear();
    m_answers.clear();
}

} // namespace testsupport
