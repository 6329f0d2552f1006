#include "platform/widgets/QtSaveFileDialog.h"

#include "platform/qtcore/PathBytes.h"
#include "platform/widgets/FileFilterText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace mirado {

namespace {

// The extension of a filter's first "*.ext" pattern, or nothing.
QString ExtensionOf(const FileFilter& filter) {
    if (filter.patterns.empty())
        return {};
    const QString pattern = QString::fromStdString(filter.patterns.front());
    return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

} // namespace

bool CQtSaveFileDialog::RunSave(const SaveFileRequest& request, std::string& path) {
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << FileFilterText(filter);
    QString chosenFilter = filters.isEmpty() ? QString() : filters.constFirst();
    QString chosen =
        QFileDialog::getSaveFileName(owner_.data(), QString::fromStdString(request.title),
                                     QString::fromStdString(request.suggestedName),
                                     filters.join(QStringLiteral(";;")), &chosenFilter);
    if (chosen.isEmpty())
        return false;
    const qsizetype index = filters.indexOf(chosenFilter);
    if (QFileInfo(chosen).suffix().isEmpty() && index >= 0) {
        const QString extension = ExtensionOf(request.filters[static_cast<size_t>(index)]);
        if (!extension.isEmpty())
            chosen += QLatin1Char('.') + extension;
    }
    path = PathBytes(chosen);
    return true;
}

} // namespace mirado
