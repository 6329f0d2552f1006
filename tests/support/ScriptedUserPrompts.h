#pragma once
// Test double for IUserPrompts: records every box and answers from a script
// (the first button's answer when the script is empty; Cancel for the question about a
// changed file), so no test ever blocks.

#include "platform/UserPrompts.h"

#include <deque>
#include <vector>

namespace mirado {

class ScriptedUserPrompts : public IUserPrompts {
public:
    struct Box {
        std::string text;
        std::string caption;
        MessageIcon icon;
        MessageButtons buttons;
    };

    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    const std::vector<Box>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        shown_.push_back({text, caption, icon, buttons});
        if (answers_.empty())
            return DefaultAnswer(buttons);
        MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    static MessageAnswer DefaultAnswer(MessageButtons buttons) {
        switch (buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
        case MessageButtons::YesNoDefaultNo:
            return MessageAnswer::Yes;
        case MessageButtons::RetryCancel:
            return MessageAnswer::Retry;
        case MessageButtons::ReloadOverwriteSaveAsCancel:
            return MessageAnswer::Cancel;
        default:
            return MessageAnswer::Ok;
        }
    }

    std::deque<MessageAnswer> answers_;
    std::vector<Box> shown_;
};

} // namespace mirado
