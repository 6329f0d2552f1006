#pragma once
// The program's user messages as Qt events. Each message keeps its fixed number, which
// lies in Qt's user event range, and carries two values like a window message's wParam
// and lParam. "Posted" messages are queued (handled after the current event), "sent"
// ones are handled before the sender continues, so the order of handling is the same as
// with window messages.

#include <QCoreApplication>
#include <QEvent>

#include <cstdint>

namespace mirado {

enum UserMessage : int {
    WM_MARKER_VALUE = 0x469,
    WM_APPLY_COLOURS = 0x46D,
    WM_SELECT_FILE = 0x46E,
    WM_TOGGLE_FILE = 0x46F,
    WM_AMPLITUDE_UP = 0x470,
    WM_AMPLITUDE_DOWN = 0x471,
    WM_ZOOM_OUT = 0x472,
    WM_ZOOM_IN = 0x473,
    WM_EXPORT_TEXT = 0x475,
};

static_assert(WM_MARKER_VALUE >= static_cast<int>(QEvent::User) &&
                  WM_EXPORT_TEXT <= static_cast<int>(QEvent::MaxUser),
              "user messages must lie in Qt's user event range");

class CUserEvent : public QEvent {
public:
    CUserEvent(UserMessage message, std::intptr_t wParam, std::intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam) {}

    UserMessage Message() const { return static_cast<UserMessage>(type()); }
    std::intptr_t WParam() const { return wParam_; }
    std::intptr_t LParam() const { return lParam_; }

private:
    std::intptr_t wParam_;
    std::intptr_t lParam_;
};

// True when the event is one of the program's user messages.
inline bool IsUserMessage(const QEvent* event) {
    const int type = static_cast<int>(event->type());
    return type >= WM_MARKER_VALUE && type <= WM_EXPORT_TEXT;
}

// Queues the message for the receiver; it is handled after the current event.
inline void PostUserMessage(QObject* receiver, UserMessage message, std::intptr_t wParam = 0,
                            std::intptr_t lParam = 0) {
    if (receiver != nullptr)
        QCoreApplication::postEvent(receiver, new CUserEvent(message, wParam, lParam));
}

// Delivers the message at once; returns whether the receiver handled it.
inline bool SendUserMessage(QObject* receiver, UserMessage message, std::intptr_t wParam = 0,
                            std::intptr_t lParam = 0) {
    if (receiver == nullptr)
        return false;
    CUserEvent event(message, wParam, lParam);
    return QCoreApplication::sendEvent(receiver, &event);
}

} // namespace mirado
