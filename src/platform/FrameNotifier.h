#pragma once
// Notifications the document sends to the main window and that are handled before the
// document goes on. The GUI's frame implements it; tests count the calls.

namespace mirado {

class IFrameNotifier {
public:
    virtual ~IFrameNotifier() = default;
    // The display colours changed: the wave view rebuilds its background and pens.
    virtual void ApplyColours() = 0;
};

} // namespace mirado
