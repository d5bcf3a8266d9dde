#include "ModalScript.h"

#include <QDialog>
#include <QTest>

namespace testsupport {

ModalScript::ModalScript()
{
    platform::setModalInterceptor([this](QDialog& dialog) { return handle(dialog); });
}

ModalScript::~ModalScript()
{
    platform::setModalInterceptor({});
}

void ModalScript::queue(Handler handler)
{
    m_handlers.enqueue(std::move(handler));
}

void ModalScript::queueResult(int result)
{
    queue([result](QDialog&) { return result; });
}

QStringList ModalScript::seenObjectNames() const
{
    QStringList names;
    for (const SeenDialog& dialog : m_seen)
        names.append(dialog.objectName);
    return names;
}

int ModalScript::handle(QDialog& dialog)
{
    m_seen.append(SeenDialog{dialog.objectName(), dialog.windowTitle()});
    if (m_handlers.isEmpty()) {
        const QByteArray message = "Unexpected modal dialog '" + dialog.objectName().toUtf8() +
                                   "' (title '" + dialog.windowTitle().toUtf8() +
                                   "'): no handler queued";
        qWarning("%s", message.constData());
        if (!m_failed)
            QTest::qFail(message.constData(), __FILE__, __LINE__);
        m_failed = true;
        return platform::IDCANCEL;
    }
    // Take the handler out first: it may open further dialogs that need the next one.
    const Handler handler = m_handlers.dequeue();
    return handler(dialog);
}

} // namespace testsupport
