#pragma once

#include "platform/Window.h"

#include <QList>
#include <QWidget>

// A shell window that records the messages sent to it by handle.
class HostWindowRecorder : public QWidget, public platform::MessageReceiver {
public:
    struct Message {
        uint32_t message;
        intptr_t wParam;
        intptr_t lParam;
    };

    intptr_t windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override
    {
        messages.append({message, wParam, lParam});
        return 0;
    }

    QList<Message> messages;
};
