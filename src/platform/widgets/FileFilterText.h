#pragma once
// A file filter as Qt's file dialogs show and apply it.

#include "platform/OpenFileDialog.h"

#include <QString>
#include <QStringList>

namespace mirado {

// "label (pattern pattern ...)".
inline QString FileFilterText(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns)
        patterns << QString::fromStdString(pattern);
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(filter.label), patterns.join(' '));
}

} // namespace mirado
