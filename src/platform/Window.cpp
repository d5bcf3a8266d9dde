#include "Window.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>

namespace platform {

namespace {

// Handles of live widgets, in both directions. GUI thread only.
class HandleRegistry {
public:
    static HandleRegistry& instance()
    {
        static HandleRegistry registry;
        return registry;
    }

    WindowHandle handleOf(QWidget* widget)
    {
        if (const auto found = m_handles.constFind(widget); found != m_handles.constEnd())
            return found.value();
        const WindowHandle handle = nextHandle();
        m_handles.insert(widget, handle);
        m_widgets.insert(handle, widget);
        // Forget the widget when it goes; the registry's own object is the context so the
        // connection outlives the widget's own connections.
        QObject::connect(widget, &QObject::destroyed, &m_context,
                         [this, handle](QObject* object) { forget(handle, object); });
        return handle;
    }

    QWidget* widgetOf(WindowHandle handle) const
    {
        const auto found = m_widgets.constFind(handle);
        return found == m_widgets.constEnd() ? nullptr : found.value().data();
    }

private:
    WindowHandle nextHandle()
    {
        // Window handles look like the system's: even numbers, never 0, never reused soon.
        do {
            m_next += 4;
            if (m_next < 0x10000)
                m_next = 0x10000;
        } while (m_widgets.contains(m_next));
        return m_next;
    }

    void forget(WindowHandle handle, QObject* object)
    {
        m_widgets.remove(handle);
        m_handles.remove(static_cast<QWidget*>(object));
    }

    QObject m_context;
    QHash<QWidget*, WindowHandle> m_handles;
    QHash<WindowHandle, QPointer<QWidget>> m_widgets;
    WindowHandle m_next = 0x10000;
};

WindowHandle g_mainWindowHandle = 0;
QString g_title;
bool g_titleSet = false;

} // namespace

WindowHandle windowHandle(QWidget* widget)
{
    return widget ? HandleRegistry::instance().handleOf(widget) : 0;
}

QWidget* windowFromHandle(WindowHandle handle)
{
    return handle ? HandleRegistry::instance().widgetOf(handle) : nullptr;
}

bool setParentWindow(WindowHandle child, WindowHandle parent)
{
    QWidget* childWidget = windowFromHandle(child);
    QWidget* parentWidget = windowFromHandle(parent);
    if (!childWidget || !parentWidget)
        return false;
    // A window cannot become a child of itself or of one of its own descendants.
    if (childWidget == parentWidget || childWidget->isAncestorOf(parentWidget))
        return false;
    childWidget->setParent(parentWidget);
    childWidget->show(); // setParent hides the widget
    return true;
}

intptr_t sendMessage(WindowHandle handle, uint32_t message, intptr_t wParam, intptr_t lParam)
{
    auto* receiver = dynamic_cast<MessageReceiver*>(windowFromHandle(handle));
    return receiver ? receiver->windowMessage(message, wParam, lParam) : 0;
}

WindowHandle ModuleApplication::mainWindowHandle()
{
    return g_mainWindowHandle;
}

void ModuleApplication::setMainWindowHandle(WindowHandle handle)
{
    g_mainWindowHandle = handle;
}

QWidget* ModuleApplication::mainWindow()
{
    return windowFromHandle(g_mainWindowHandle);
}

QString ModuleApplication::title()
{
    if (g_titleSet)
        return g_title;
    return QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
}

void ModuleApplication::setTitle(const QString& title)
{
    g_title = title;
    g_titleSet = true;
}

} // namespace platform
