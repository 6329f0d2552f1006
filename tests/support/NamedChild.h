#pragma once
// The child widget or action a test works with, found by the object name the window gives
// it; a missing child throws, so the test fails with the name instead of crashing.

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

namespace mirado::test {

template <typename Child> Child* NamedChild(const QObject& parent, const char* name) {
    auto* child = parent.findChild<Child*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::logic_error(std::string("no child named ") + name);
    return child;
}

} // namespace mirado::test
