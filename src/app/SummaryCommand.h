#pragma once
// CSummaryCommand: "Summary..." in the File menu and in the file list's pop-up menu. It
// opens the study summary window (CSummaryWindow) over the marked files of the list, or
// over every file when none is marked. There is one such window: the command brings an
// open one forward (over the files marked now) instead of opening a second. The main
// window owns it and closes it with itself.
//
// The open window follows the list: when a listed file is saved or reverted, or the marks
// or the list change, it takes the files of the list as they are and reads them again
// shortly after (FilesChanged; whatever else changes what the summary reads, a decision
// on a reading, calls it too).

#include "summary/SummaryWindow.h"

#include <QObject>
#include <QPointer>

class QTimer;

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

    // Opens and shows a window over the list's files, or brings the open one forward
    // (null with an empty list).
    CSummaryWindow* OpenWindow();
    // The open window, if any.
    CSummaryWindow* Window() const { return window_.data(); }
    // The listed files or what is known of them changed: the open window takes the
    // list's files and reads them again soon. Calls in a burst are taken as one.
    void FilesChanged();

private:
    CSummaryCommand(CMainFrame& frame, IUserPrompts& prompts, ISaveFileDialog& saveDialog);
    void FollowList();
    SummaryFiles CurrentFiles() const;

    CMainFrame& frame_;
    IUserPrompts& prompts_;
    ISaveFileDialog& saveDialog_;
    QPointer<CSummaryWindow> window_;
    QTimer* followTimer_ = nullptr;
    IProfile* reviewSettings_ = nullptr;
    std::string userProfiles_;
};

} // namespace mirado
