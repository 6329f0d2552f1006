#pragma once
// CSummaryCommand: "Summary..." in the File menu and in the file list's pop-up menu. It
// opens a study summary window (CSummaryWindow) over the marked files of the list, or
// over every file when none is marked; each run of the command opens a window of its
// own, which the main window owns and closes with it.

#include "summary/SummaryWindow.h"

#include <QObject>

namespace mirado {

class CMainFrame;
class CMiradoDoc;
class IProfile;
class ISaveFileDialog;
class IUserPrompts;

// The files the summary of the document's list reads.
SummaryFiles SummaryFilesOf(const CMiradoDoc& document);

class CSummaryCommand : public QObject {
    Q_OBJECT
public:
    // Wires the command on the frame and its file list; the frame owns the command.
    static CSummaryCommand* Install(CMainFrame& frame, IUserPrompts& prompts,
                                    ISaveFileDialog& saveDialog);

    // Where the window finds the acceptance profile the main window chose: the settings
    // and the folder of the user's own profiles. Without them it uses the default profile.
    void SetReviewSettings(IProfile* settings, std::string userFolder);

    // Opens and shows a window over the list's files (null with an empty list).
    CSummaryWindow* OpenWindow();

private:
    CSummaryCommand(CMainFrame& frame, IUserPrompts& prompts, ISaveFileDialog& saveDialog);

    CMainFrame& frame_;
    IUserPrompts& prompts_;
    ISaveFileDialog& saveDialog_;
    IProfile* reviewSettings_ = nullptr;
    std::string userProfiles_;
};

} // namespace mirado
