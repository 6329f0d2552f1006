#pragma once
// The modified mark of the document's current file: whether it holds edits its file does
// not. The document tells the mark what happened to the file and asks it; one owner keeps
// it. Without a window that is the document's own flag (CModifiedFlag); in the window it is
// the undo history, whose current file's stack away from its saved state is the mark.

namespace mirado {

class IModifiedMark {
public:
    virtual ~IModifiedMark() = default;
    virtual bool IsModified() const = 0;
    // An operation of the document stored an edit of the current file.
    virtual void OnEdited() = 0;
    // The current file was saved with every edit made so far.
    virtual void OnSaved() = 0;
    // The current record was replaced (another file opened, the list replaced, the file
    // sent to the trash or reverted) or its unsaved edits were kept or dropped; edited says
    // whether it holds unsaved edits now (kept ones put back on opening it again).
    virtual void OnRecordReplaced(bool edited) = 0;
};

// The mark as a flag: set by an edit, cleared by a save, as given by a replacement.
class CModifiedFlag final : public IModifiedMark {
public:
    bool IsModified() const override { return modified_; }
    void OnEdited() override { modified_ = true; }
    void OnSaved() override { modified_ = false; }
    void OnRecordReplaced(bool edited) override { modified_ = edited; }

private:
    bool modified_ = false;
};

} // namespace mirado
