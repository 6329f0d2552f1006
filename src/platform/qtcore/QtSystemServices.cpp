#include "platform/qtcore/QtSystemServices.h"

#include <QDir>
#include <QStandardPaths>

namespace mirado {

namespace {
constexpr const char* kFallbackDocumentsName = "Documents";
}

std::string CQtDocumentsFolder::GetDocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QLatin1Char('/') + QLatin1String(kFallbackDocumentsName);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder.toStdString();
}

} // namespace mirado
