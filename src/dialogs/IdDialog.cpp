#include "dialogs/IdDialog.h"

#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace mirado {

namespace {
constexpr int kNarrowEditWidth = 80;
constexpr int kWideEditWidth = 250;
constexpr int kDoubleByteLength = 2;
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr const char* kTooLong = "Please enter no more than %1 characters.";
constexpr const char* kNotStorable =
    "This text holds a character that cannot be saved in the file. Please remove it.";

std::string IdDialogFields::*const kMembers[CIdDialog::FieldCount] = {
    &IdDialogFields::animalNo, &IdDialogFields::exNo, &IdDialogFields::comment,
    &IdDialogFields::sexAge, &IdDialogFields::weight};

// Refuses an edit that makes the text longer than the limit in the file's bytes. A text
// already over the limit (as given at opening) may still be shortened.
class CByteLimitValidator : public QValidator {
public:
    CByteLimitValidator(int limit, QLineEdit* edit) : QValidator(edit), limit_(limit) {
        accepted_ = FieldByteLength(edit->text());
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { accepted_ = FieldByteLength(text); });
    }

    State validate(QString& input, int&) const override {
        const int length = FieldByteLength(input);
        return length <= limit_ || length < accepted_ ? Acceptable : Invalid;
    }

private:
    int limit_;
    int accepted_ = 0;
};

// The date and time line with its prefix in the window's language.
QString DateTimeLineText(const std::string& line) {
    const std::string prefix = kDateTimeLinePrefix;
    if (line.compare(0, prefix.size(), prefix) != 0)
        return QString::fromStdString(line);
    return UiText(kDateTimeLinePrefix) + QString::fromStdString(line.substr(prefix.size()));
}
} // namespace

int FieldByteLength(const QString& text) {
    if (auto length = Cp932ByteLength(text.toStdString()))
        return static_cast<int>(*length);
    int total = 0;
    for (char32_t code : text.toStdU32String()) {
        if (code == kReplacementCharacter) {
            total += 1;
            continue;
        }
        const std::u32string one(1, code);
        const auto length = Cp932ByteLength(QString::fromStdU32String(one).toStdString());
        total += length ? static_cast<int>(*length) : kDoubleByteLength;
    }
    return total;
}

CIdDialog::CIdDialog(const IdDialogFields& fields, IUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), original_(fields) {
    setWindowTitle(UiText("ID"));
    BuildControls();
    dateTime_->setText(DateTimeLineText(fields.dateTimeLine));
    for (int field = 0; field < FieldCount; ++field) {
        QLineEdit* edit = edits_[field];
        edit->setText(QString::fromStdString(fields.*kMembers[field]));
        edit->setCursorPosition(0);
        edit->setValidator(new CByteLimitValidator(kByteLimits[field], edit));
    }
    connect(ok_, &QPushButton::clicked, this, &CIdDialog::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CIdDialog::BuildControls() {
    for (QLineEdit*& edit : edits_) {
        edit = new QLineEdit(this);
        edit->setFixedWidth(kNarrowEditWidth);
    }
    edits_[Comment]->setFixedWidth(kWideEditWidth);
    dateTime_ = new QLabel(this);
    dateTime_->setObjectName(QStringLiteral("dateTime"));
    dateTime_->setTextFormat(Qt::PlainText);

    // Shown top to bottom in this order; read back in the order of Field.
    const std::pair<const char*, Field> rows[] = {{"ANIMAL No.", AnimalNo},
                                                  {"STUDY No.", StudyNo},
                                                  {"WEIGHT", Weight},
                                                  {"SEX/AGE", SexAge},
                                                  {"COMMENT", Comment}};
    auto* grid = new QGridLayout(this);
    grid->addWidget(dateTime_, 0, 0, 1, 3);
    int row = 1;
    for (const auto& [label, field] : rows) {
        grid->addWidget(new QLabel(UiText(label), this), row, 0);
        grid->addWidget(edits_[field], row, 1, 1, 2, Qt::AlignLeft);
        ++row;
    }

    ok_ = new QPushButton(UiText("OK"), this);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(UiText("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, row, 1);
    grid->setColumnStretch(2, 1);

    // Tab goes through the fields top to bottom, then to the buttons.
    for (size_t i = 1; i < std::size(rows); ++i)
        setTabOrder(edits_[rows[i - 1].second], edits_[rows[i].second]);
    setTabOrder(edits_[rows[std::size(rows) - 1].second], ok_);
    setTabOrder(ok_, cancel_);
}

bool CIdDialog::CheckField(Field field) {
    QLineEdit* edit = edits_[field];
    const QString text = edit->text();
    const bool unchanged = text == QString::fromStdString(original_.*kMembers[field]);
    QString refusal;
    // A text the user left alone is written back with its original bytes, so only
    // edited text must be storable.
    if (!unchanged && !CanConvertToCp932(text.toStdString()))
        refusal = UiText(kNotStorable);
    else if (FieldByteLength(text) > kByteLimits[field])
        refusal = UiText(kTooLong).arg(kByteLimits[field]);
    if (refusal.isEmpty())
        return true;
    prompts_.ShowMessage(refusal.toStdString(), kApplicationTitle, MessageIcon::Warning,
                         MessageButtons::Ok);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CIdDialog::OnOk() {
    for (int field = 0; field < FieldCount; ++field) {
        if (!CheckField(static_cast<Field>(field)))
            return;
    }
    accept();
}

IdDialogFields CIdDialog::Fields() const {
    IdDialogFields fields = original_;
    for (int field = 0; field < FieldCount; ++field) {
        const QString text = edits_[field]->text();
        if (text != QString::fromStdString(original_.*kMembers[field]))
            fields.*kMembers[field] = text.toStdString();
    }
    return fields;
}

} // namespace mirado
