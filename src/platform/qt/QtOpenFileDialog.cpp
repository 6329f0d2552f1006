#include "platform/qt/QtOpenFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace mirado {

namespace {

// "label (pattern pattern ...)", the form Qt's dialog shows and filters by.
QString FilterText(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns)
        patterns << QString::fromStdString(pattern);
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.label), patterns.join(' '));
}

} // namespace

bool CQtOpenFileDialog::RunOpenMultiple(const OpenFileRequest& request,
                                        std::vector<std::string>& paths) {
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << FilterText(filter);
    const QStringList picked = QFileDialog::getOpenFileNames(
        owner_.data(), QStringLiteral("Open"), QString::fromStdString(request.initialFolder),
        filters.join(QStringLiteral(";;")));
    if (picked.isEmpty())
        return false;
    paths.clear();
    for (const QString& path : picked)
        paths.push_back(path.toStdString());
    return true;
}

} // namespace mirado
