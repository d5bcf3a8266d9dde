#include "area/TRopWin.h"

#include "area/TRopInst.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

#include <memory>

TRopWin::TRopWin(QObject* owner) : QObject(owner) {}

TRopWin::~TRopWin()
{
    delete m_note.data();
}

TRopInst* TRopWin::noteWindow() const
{
    return m_note.data();
}

void TRopWin::ShowNote()
{
    if (m_lines.isEmpty()) {
        platform::showMessageBox(platform::ModuleApplication::mainWindowHandle(),
                                 QStringLiteral("The Lines is empty"), QStringLiteral("Error"),
                                 platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::None);
        return;
    }
    auto note = std::make_unique<TRopInst>(platform::ModuleApplication::mainWindow());
    m_note = note.get();
    // Clears the reference however this function is left.
    const std::unique_ptr<QPointer<TRopInst>, void (*)(QPointer<TRopInst>*)> clearReference(
        &m_note, [](QPointer<TRopInst>* reference) { reference->clear(); });

    note->setFont(m_font);
    note->setTextColor(m_fontColor);
    note->setNoteBrush(m_brush);
    note->setLines(m_lines);
    note->xPos = m_xPos;
    note->yPos = m_yPos;
    note->TimeClose = m_timeClose;
    note->PlaceNote();
    platform::execModal(*note);
}
