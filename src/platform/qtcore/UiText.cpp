#include "platform/qtcore/UiText.h"

#include <mutex>
#include <set>

namespace mirado {

namespace {

struct NotedTexts {
    std::mutex mutex;
    std::set<std::string> english;
};

NotedTexts& Noted() {
    static NotedTexts noted;
    return noted;
}

} // namespace

QString UiText(const char* english) {
    {
        NotedTexts& noted = Noted();
        const std::lock_guard lock(noted.mutex);
        noted.english.emplace(english);
    }
    return QCoreApplication::translate(kUiTextContext, english);
}

QMultiHash<QString, QString> ShownUiTextSources() {
    NotedTexts& noted = Noted();
    const std::lock_guard lock(noted.mutex);
    QMultiHash<QString, QString> sources;
    for (const std::string& english : noted.english)
        sources.insert(QCoreApplication::translate(kUiTextContext, english.c_str()),
                       QString::fromStdString(english));
    return sources;
}

} // namespace mirado
