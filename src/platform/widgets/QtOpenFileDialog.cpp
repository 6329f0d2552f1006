#include "platform/widgets/QtOpenFileDialog.h"

#include "platform/qtcore/PathBytes.h"
#include "platform/qtcore/UiText.h"
#include "platform/widgets/FileFilterText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace mirado {

namespace {

// Qt's file dialog refuses a picked name that is not valid UTF-8 as "not found", since the
// name it shows no longer gives the file. Such a pick is taken when its bytes are found.
class CFileDialogKeepingBytes : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        const auto qtFindsIt = [](const QString& file) { return QFileInfo::exists(file); };
        const auto bytesFindIt = [](const QString& file) { return IsRegularFile(PathBytes(file)); };
        if (!files.isEmpty() && !std::all_of(files.begin(), files.end(), qtFindsIt) &&
            std::all_of(files.begin(), files.end(), bytesFindIt)) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

bool CQtOpenFileDialog::RunOpenMultiple(const OpenFileRequest& request,
                                        std::vector<std::string>& paths) {
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << FileFilterText(filter);
    CFileDialogKeepingBytes dialog(owner_.data(), UiText("Open"),
                                   QString::fromStdString(request.initialFolder),
                                   filters.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setSupportedSchemes({QStringLiteral("file")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty())
        return false;
    paths.clear();
    for (const QUrl& url : dialog.selectedUrls())
        paths.push_back(PathBytes(url));
    return true;
}

} // namespace mirado
