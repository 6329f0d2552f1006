#pragma once
// CIdDialog ("ID"): edits the five identification texts of the current measurement file
// below a line with its recording date and time. Each field holds at most its width in
// the file, counted in the file's CP932 bytes (a Japanese character counts two): longer
// input cannot be typed, a longer text present at opening is refused at OK until it is
// shortened, and a character the file cannot hold is refused at OK. A field the user
// left alone comes back exactly as it was given.

#include "platform/DocumentDialogs.h"
#include "records/RecordLayout.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace mirado {

class IUserPrompts;

class CIdDialog : public QDialog {
    Q_OBJECT
public:
    // The fields in the order the dialog reads them back.
    enum Field { AnimalNo, StudyNo, Comment, SexAge, Weight, FieldCount };
    static constexpr int kIdBytes = static_cast<int>(kIdTextWidth);
    static constexpr int kCommentBytes = static_cast<int>(kCommentWidth);
    static constexpr std::array<int, FieldCount> kByteLimits = {kIdBytes, kIdBytes, kCommentBytes,
                                                                kIdBytes, kIdBytes};

    CIdDialog(const IdDialogFields& fields, IUserPrompts& prompts, QWidget* parent = nullptr);

    // The edited texts (valid after OK); unchanged fields keep their original strings.
    IdDialogFields Fields() const;

    QLineEdit* Edit(Field field) const { return edits_[field]; }

private:
    void BuildControls();
    void OnOk();
    // Shows the refusal and puts the caret in the field; false when the field is refused.
    bool CheckField(Field field);

    IUserPrompts& prompts_;
    IdDialogFields original_;
    std::array<QLineEdit*, FieldCount> edits_{};
    QLabel* dateTime_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Length of the text in the file's bytes. A character the file cannot hold counts two,
// the replacement character (standing for one undecodable byte) counts one.
int FieldByteLength(const QString& text);

} // namespace mirado
