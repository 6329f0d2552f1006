#pragma once
// CExportSamplesCommand: "Export Samples..." in the File menu. It writes the current
// file's decoded channels as the CSV `mirado-cli samples` prints, to a file chosen in the
// save dialog, replacing it atomically. It applies while a file is loaded and was read
// correctly.

#include <QObject>

class QAction;

namespace mirado {

class CMainFrame;
class ISaveFileDialog;
class IUserPrompts;

class CExportSamplesCommand : public QObject {
    Q_OBJECT
public:
    // Adds the item after "Summary..." in the frame's File menu; the frame owns it.
    static CExportSamplesCommand* Install(CMainFrame& frame, IUserPrompts& prompts,
                                          ISaveFileDialog& saveDialog);

    QAction* Action() const { return action_; }
    // Asks for the file and writes it; true when written.
    bool Run();

private:
    CExportSamplesCommand(CMainFrame& frame, IUserPrompts& prompts, ISaveFileDialog& saveDialog);

    void UpdateEnabled();

    CMainFrame& frame_;
    IUserPrompts& prompts_;
    ISaveFileDialog& saveDialog_;
    QAction* action_ = nullptr;
};

} // namespace mirado
