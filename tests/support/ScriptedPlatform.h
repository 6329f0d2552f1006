#pragma once
// Scripted test doubles for the platform interfaces other than message boxes (those are
// in ScriptedUserPrompts.h). Each double records what it was asked and answers from a
// script, so a test can say "the open dialog returns these five paths" or "the trash
// refuses this file" and read back every request.

#include "platform/DocumentBase.h"
#include "platform/DocumentDialogs.h"
#include "platform/FrameNotifier.h"
#include "platform/OpenFileDialog.h"
#include "platform/ProfileValue.h"
#include "platform/ReasonPicker.h"
#include "platform/SaveFileDialog.h"
#include "platform/SystemServices.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace mirado {

// Open dialog: each run takes the next scripted answer; with none left it cancels.
class ScriptedOpenFileDialog : public IOpenFileDialog {
public:
    void QueuePick(std::vector<std::string> paths) { answers_.push_back(std::move(paths)); }
    void QueueCancel() { answers_.push_back(std::nullopt); }
    const std::vector<OpenFileRequest>& Requests() const { return requests_; }

    bool RunOpenMultiple(const OpenFileRequest& request, std::vector<std::string>& paths) override {
        requests_.push_back(request);
        if (answers_.empty() || !answers_.front()) {
            if (!answers_.empty())
                answers_.pop_front();
            return false;
        }
        paths = std::move(*answers_.front());
        answers_.pop_front();
        return true;
    }

private:
    std::deque<std::optional<std::vector<std::string>>> answers_;
    std::vector<OpenFileRequest> requests_;
};

// Reason picker: each question takes the next scripted choice; with none left it cancels.
// Every preselected reason it was shown is kept.
class ScriptedReasonPicker : public IReasonPicker {
public:
    void QueueChoice(std::string reason, std::string note = {}) {
        answers_.push_back(ReasonChoice{std::move(reason), std::move(note)});
    }
    void QueueCancel() { answers_.push_back(std::nullopt); }
    const std::vector<std::string>& Preselected() const { return preselected_; }

    std::optional<ReasonChoice> PickReason(const std::string& preselected) override {
        preselected_.push_back(preselected);
        if (answers_.empty())
            return std::nullopt;
        std::optional<ReasonChoice> answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }

private:
    std::deque<std::optional<ReasonChoice>> answers_;
    std::vector<std::string> preselected_;
};

// Save dialog: each run takes the next scripted path; with none left it cancels.
class ScriptedSaveFileDialog : public ISaveFileDialog {
public:
    void QueuePath(std::string path) { answers_.push_back(std::move(path)); }
    void QueueCancel() { answers_.push_back(std::nullopt); }
    const std::vector<SaveFileRequest>& Requests() const { return requests_; }

    bool RunSave(const SaveFileRequest& request, std::string& path) override {
        requests_.push_back(request);
        if (answers_.empty())
            return false;
        std::optional<std::string> answer = std::move(answers_.front());
        answers_.pop_front();
        if (!answer)
            return false;
        path = std::move(*answer);
        return true;
    }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<SaveFileRequest> requests_;
};

// ID dialog: each run records the fields shown, then either cancels or ends with OK
// after replacing the fields by the scripted ones. With no script left it cancels.
class ScriptedIdDialog : public IIdDialog {
public:
    void QueueOk(IdDialogFields edited) { answers_.push_back(std::move(edited)); }
    void QueueCancel() { answers_.push_back(std::nullopt); }
    const std::vector<IdDialogFields>& Shown() const { return shown_; }

    bool Run(IdDialogFields& fields) override {
        shown_.push_back(fields);
        if (answers_.empty())
            return false;
        std::optional<IdDialogFields> answer = std::move(answers_.front());
        answers_.pop_front();
        if (!answer)
            return false;
        answer->dateTimeLine = fields.dateTimeLine;
        fields = std::move(*answer);
        return true;
    }

private:
    std::deque<std::optional<IdDialogFields>> answers_;
    std::vector<IdDialogFields> shown_;
};

// Parameters dialog: each run calls the next scripted action on the settings (which
// plays the user's edits and OK or Cancel); with none left it cancels.
class ScriptedParametersDialog : public IParametersDialog {
public:
    using Action = std::function<bool(CDisplaySettings& settings)>;
    void QueueAction(Action action) { actions_.push_back(std::move(action)); }
    int RunCount() const { return runs_; }

    bool Run(CDisplaySettings& settings) override {
        ++runs_;
        if (actions_.empty())
            return false;
        Action action = std::move(actions_.front());
        actions_.pop_front();
        return action(settings);
    }

private:
    std::deque<Action> actions_;
    int runs_ = 0;
};

// Profile held in memory as text, the way the settings file holds it.
class MemoryProfile : public IProfile {
public:
    void SetRaw(const std::string& section, const std::string& key, const std::string& text) {
        values_[{section, key}] = text;
    }
    std::optional<std::string> GetRaw(const std::string& section, const std::string& key) const {
        const auto found = values_.find({section, key});
        if (found == values_.end())
            return std::nullopt;
        return found->second;
    }
    void SetWritable(bool writable) { writable_ = writable; }

    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) override {
        const std::optional<std::string> raw = GetRaw(section, key);
        if (!raw)
            return defaultValue;
        return ParseProfileInt(*raw).value_or(defaultValue);
    }
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override {
        return GetRaw(section, key).value_or(defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override {
        return WriteProfileString(section, key, std::to_string(value));
    }
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override {
        if (!writable_)
            return false;
        values_[{section, key}] = value;
        return true;
    }
    bool WriteProfileStrings(const std::string& section, const ProfileValues& values) override {
        if (!writable_)
            return false;
        for (const auto& [key, value] : values)
            values_[{section, key}] = value;
        return true;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
    bool writable_ = true;
};

class FixedDocumentsFolder : public IDocumentsFolder {
public:
    explicit FixedDocumentsFolder(std::string folder) : folder_(std::move(folder)) {}
    std::string GetDocumentsFolder() override { return folder_; }

private:
    std::string folder_;
};

// Trash that records the paths in call order and refuses the ones it was told to.
// The files themselves are left alone.
class ScriptedTrash : public ITrash {
public:
    void Refuse(const std::string& path) { refused_.insert(path); }
    const std::vector<std::string>& Requested() const { return requested_; }

    bool MoveToTrash(const std::string& path) override {
        requested_.push_back(path);
        return refused_.count(path) == 0;
    }

private:
    std::set<std::string> refused_;
    std::vector<std::string> requested_;
};

class CountingFrameNotifier : public IFrameNotifier {
public:
    void ApplyColours() override { ++applyColours_; }
    int ApplyColoursCount() const { return applyColours_; }

private:
    int applyColours_ = 0;
};

// View that records the sender of every update it receives.
class RecordingView : public IView {
public:
    void OnUpdate(IView* sender) override { senders_.push_back(sender); }
    const std::vector<IView*>& Updates() const { return senders_; }
    void Clear() { senders_.clear(); }

private:
    std::vector<IView*> senders_;
};

} // namespace mirado
