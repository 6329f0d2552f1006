#include "platform/qt/QtSystemServices.h"

#include <QDir>
#include <QFile>
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

bool CQtTrash::MoveToTrash(const std::string& path) {
    return QFile::moveToTrash(QString::fromStdString(path));
}

} // namespace mirado
