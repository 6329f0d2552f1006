// mirado-cli edit: corrects files in a batch through the document's own edit operations
// and its save, so that the bytes are the ones the viewer writes for the same edits
// (the original copy included). --dry-run prints what would change and writes nothing.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "document/MiradoDoc.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "platform/JsonWriter.h"
#include "records/TextEncoding.h"
#include "review/ReviewChangeJournal.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <ostream>

namespace mirado {

namespace {

constexpr const char* kCommandName = "mirado-cli edit";
// Times an edit starts again from the file's new bytes when a writer that takes no lock
// replaced the file while it was being edited.
constexpr int kEditAttempts = 3;
constexpr const char* kChangedWhileEditingText =
    "the file kept changing while it was edited; it is not saved";

// What a save writes besides the picture of the channels.
struct SavedFields {
    IdTexts texts;
    int markers[3] = {0, 0, 0};
    int pressures[3] = {0, 0, 0}; // SBP, MBP, DBP
    bool valid = false;
};

SavedFields FieldsToSave(const CMiradoDoc& doc) {
    SavedFields fields;
    fields.texts = doc.GetIdTexts();
    doc.GetMarkers(fields.markers[0], fields.markers[1], fields.markers[2]);
    doc.GetDominantPressures(fields.pressures[0], fields.pressures[1], fields.pressures[2]);
    fields.valid = doc.IsValid();
    return fields;
}

void WriteTextChange(CJsonWriter& json, const char* key, const std::string& from,
                     const std::string& to) {
    if (from != to)
        json.Key(key).BeginObject().Key("from").String(from).Key("to").String(to).EndObject();
}

void WriteNumberChange(CJsonWriter& json, const char* key, int64_t from, int64_t to) {
    if (from != to)
        json.Key(key).BeginObject().Key("from").Int(from).Key("to").Int(to).EndObject();
}

std::string ChangesLine(const std::string& path, const SavedFields& from, const SavedFields& to) {
    CJsonWriter json;
    json.BeginObject();
    WritePath(json, path);
    json.Key("changes").BeginObject();
    WriteTextChange(json, "animal_no", from.texts.animalNo, to.texts.animalNo);
    WriteTextChange(json, "study_no", from.texts.exNo, to.texts.exNo);
    WriteTextChange(json, "weight", from.texts.weight, to.texts.weight);
    WriteTextChange(json, "sex_age", from.texts.sexAge, to.texts.sexAge);
    WriteTextChange(json, "comment", from.texts.comment, to.texts.comment);
    const char* markerKeys[] = {"marker_s", "marker_m", "marker_d"};
    const char* pressureKeys[] = {"sbp_raw", "mbp_raw", "dbp_raw"};
    for (int i = 0; i < 3; ++i)
        WriteNumberChange(json, markerKeys[i], from.markers[i], to.markers[i]);
    for (int i = 0; i < 3; ++i)
        WriteNumberChange(json, pressureKeys[i], from.pressures[i], to.pressures[i]);
    WriteNumberChange(json, "valid", from.valid ? 1 : 0, to.valid ? 1 : 0);
    json.EndObject().EndObject();
    return json.Text();
}

// The code point of a valid UTF-8 sequence of the given length.
char32_t CodePoint(std::string_view sequence) {
    static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t value = static_cast<unsigned char>(sequence[0]) & kLeadBits[sequence.size()];
    for (size_t i = 1; i < sequence.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    return value;
}

// Why the text cannot be stored as the files' CP932 text, naming the first character
// that does not fit ("'X' (U+XXXX)") or the first byte that is not UTF-8; empty when it
// can. The viewer's own dialog refuses such text too; the batch tool must not store "?".
std::string Cp932Problem(const std::string& utf8) {
    if (CanConvertToCp932(utf8))
        return {};
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = ValidUtf8SequenceLength(utf8, at);
        char code[16];
        if (length == 0) {
            std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(utf8[at]));
            return std::string("the byte ") + code + " is not UTF-8";
        }
        const std::string_view character = std::string_view(utf8).substr(at, length);
        if (!CanConvertToCp932(character)) {
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(CodePoint(character)));
            return "'" + std::string(character) + "' (" + code + ") has no CP932 code";
        }
        at += length;
    }
    return "it has no CP932 form";
}

class CEditCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        const auto text = [&](const char* name, std::string& value, const char* help) {
            textOptions_.push_back(command.add_option(name, value, help)->type_name("T"));
        };
        text("--animal-no", given_.animalNo, "the animal number");
        text("--study-no", given_.exNo, "the study number");
        text("--weight", given_.weight, "the weight");
        text("--sex-age", given_.sexAge, "the sex and age");
        text("--comment", given_.comment, "the comment");
        markerS_ = AddIntegerOption(
            command, "--marker-s", 0, kSampleCount - 1,
            [this](int64_t value) { sampleS_ = static_cast<int>(value); },
            "move marker S to this sample");
        markerM_ = AddIntegerOption(
            command, "--marker-m", 0, kSampleCount - 1,
            [this](int64_t value) { sampleM_ = static_cast<int>(value); },
            "move marker M to this sample");
        command
            .add_option("--analysis", analysis_,
                        "edit and save the program's own analysis instead of the stored\n"
                        "values: s (no mean marker: MBP and DBP are saved as 0) or sm")
            ->type_name("MODE")
            ->check(CLI::IsMember({"s", "sm"}));
        command.add_flag("--dry-run", dryRun_,
                         "print per file, as JSON, the fields that would change; write nothing");
        files_.AddTo(command, false);
        command.footer("Texts are stored as the viewer stores them: trimmed, in CP932, cut to\n"
                       "the field's width; a character CP932 lacks is an error. Before a file\n"
                       "is overwritten for the first time its original is kept in\n"
                       ".mirado-originals/ beside it (see revert). Each saved file's changed\n"
                       "fields (old and new) and the digests of its bytes before and after go\n"
                       "into the review log of its folder as an 'edit' event.");
    }

    Result<void> Prepare(std::istream& in) override {
        const std::string* given[] = {&given_.animalNo, &given_.exNo, &given_.weight,
                                      &given_.sexAge, &given_.comment};
        for (size_t i = 0; i < textOptions_.size(); ++i) {
            if (textOptions_[i]->count() == 0)
                continue;
            if (const std::string problem = Cp932Problem(*given[i]); !problem.empty())
                return Fail(textOptions_[i]->get_name() + ": " + problem);
        }
        return files_.Collect(in);
    }

    int Run(CliStreams& io) override {
        int status = kExitOk;
        for (const std::string& path : files_.Paths())
            if (!EditFile(path, io))
                status = kExitLoadFailed;
        return status;
    }

private:
    // The whole edit, from the read to the write, holds the file's lock, so an edit of
    // another run is never lost. A file another program replaced meanwhile (it takes no
    // lock) is edited again from its new bytes.
    bool EditFile(const std::string& path, CliStreams& io) {
        for (int attempt = 0; attempt < kEditAttempts; ++attempt) {
            const CFileLock lock(path);
            if (lock.GetState() != CFileLock::State::Locked) {
                io.err << kCommandName << ": " << SingleLine(path + ": " + lock.Error()) << "\n";
                return false;
            }
            const EditOutcome outcome = EditLockedFile(path, lock, io);
            if (outcome != EditOutcome::ChangedMeanwhile)
                return outcome == EditOutcome::Done;
        }
        io.err << kCommandName << ": " << SingleLine(path + ": " + kChangedWhileEditingText)
               << "\n";
        return false;
    }

    enum class EditOutcome { Done, Failed, ChangedMeanwhile };

    // The display mode, the markers, the texts, then one save: the viewer's order.
    EditOutcome EditLockedFile(const std::string& path, const CFileLock& lock, CliStreams& io) {
        CConsolePrompts prompts(io.err, kCommandName, MessageAnswer::No);
        CReviewChangeJournal journal(ReviewAction::Edit);
        DocumentServices services;
        services.prompts = &prompts;
        services.journal = &journal;
        CMiradoDoc doc(services);
        doc.SetFileList({path});
        if (!doc.OpenFileAt(0))
            return EditOutcome::Failed;
        const SavedFields before = FieldsToSave(doc);
        if (!analysis_.empty())
            doc.ShowAnalysis(analysis_ == "sm");
        if (markerS_->count() > 0)
            doc.MoveMarker({MovableMarker::S, sampleS_});
        if (markerM_->count() > 0)
            doc.MoveMarker({MovableMarker::M, sampleM_});
        doc.SetIdTexts(EditedTexts(doc.GetIdTexts()));
        if (dryRun_) {
            io.out << ChangesLine(path, before, FieldsToSave(doc)) << "\n";
            return EditOutcome::Done;
        }
        if (!doc.IsCurrentFileUnchanged())
            return EditOutcome::ChangedMeanwhile;
        return doc.SaveCurrentFile(lock) ? EditOutcome::Done : EditOutcome::Failed;
    }

    IdTexts EditedTexts(IdTexts texts) const {
        std::string* fields[] = {&texts.animalNo, &texts.exNo, &texts.weight, &texts.sexAge,
                                 &texts.comment};
        const std::string* given[] = {&given_.animalNo, &given_.exNo, &given_.weight,
                                      &given_.sexAge, &given_.comment};
        for (size_t i = 0; i < textOptions_.size(); ++i)
            if (textOptions_[i]->count() > 0)
                *fields[i] = *given[i];
        return texts;
    }

    IdTexts given_;                         // the texts the options give
    std::vector<CLI::Option*> textOptions_; // their options, in IdTexts order
    CLI::Option* markerS_ = nullptr;
    CLI::Option* markerM_ = nullptr;
    int sampleS_ = 0;
    int sampleM_ = 0;
    std::string analysis_;
    bool dryRun_ = false;
    CFileArguments files_;
};

} // namespace

std::unique_ptr<CCliCommand> MakeEditCommand() {
    return std::make_unique<CEditCommand>();
}

} // namespace mirado
