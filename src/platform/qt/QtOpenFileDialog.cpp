#include "platform/qt/QtOpenFileDialog.h"

#include "platform/qt/FileFilterText.h"
#include "platform/qt/UiText.h"

#include <QFileDialog>
#include <QStringList>

namespace mirado {

bool CQtOpenFileDialog::RunOpenMultiple(const OpenFileRequest& request,
                                        std::vector<std::string>& paths) {
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << FileFilterText(filter);
    const QStringList picked = QFileDialog::getOpenFileNames(
        owner_.data(), UiText("Open"), QString::fromStdString(request.initialFolder),
        filters.join(QStringLiteral(";;")));
    if (picked.isEmpty())
        return false;
    paths.clear();
    for (const QString& path : picked)
        paths.push_back(path.toStdString());
    return true;
}

} // namespace mirado
