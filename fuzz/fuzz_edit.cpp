// Drives the document's edit path and the disk with arbitrary input. The input is an
// edit script (its length in the first two bytes, little-endian) followed by a
// recording. For each of the two analysis variants the recording is written to a
// temporary file with a model letter that selects the variant, opened by the document,
// edited (identification texts from arbitrary text, markers S and M moved on the stored
// values and on the analysis), saved and read back. Checks:
// - every byte the edits do not own keeps its value: the header and the middle block
//   outside the changed text fields, the valid mark and the result block's pressures and
//   markers; the second result copy mirrors the first with this program's writer mark;
//   the beat positions and the channels are what a save without edits writes;
// - reopening the saved file and saving it again gives the same bytes;
// - reverting to the kept original gives back the bytes before the first save.

#include "WorkFolder.h"
#include "document/MiradoDoc.h"
#include "document/OriginalCopy.h"
#include "files/FileAccess.h"
#include "platform/DocumentDialogs.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"
#include "records/RecordLayout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace mirado {
namespace {

constexpr size_t kScriptLengthBytes = 2;
constexpr size_t kLongestText = 48;
constexpr int kMostMoves = 6;
constexpr int kSampleMargin = 50; // moves may aim a little outside the channel
constexpr char kVariantALetter = 'A';
constexpr char kVariantELetter = 'B';

struct TextField {
    size_t offset;
    size_t width;
};

// In the order of IdTexts: animal no., study no., weight, sex/age, comment.
constexpr std::array<TextField, 5> kTextFields = {{{kOffsetAnimalNo, kIdTextWidth},
                                                   {kOffsetStudyNo, kIdTextWidth},
                                                   {kOffsetWeight, kIdTextWidth},
                                                   {kOffsetSexAge, kIdTextWidth},
                                                   {kOffsetComment, kCommentWidth}}};

// The result block's words a save rewrites from what is shown.
constexpr std::array<size_t, 6> kShownResultWords = {
    kResultSbp, kResultDbp, kResultMbp, kResultMarkerS, kResultMarkerM, kResultMarkerD};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_edit: %s\n", what);
    std::abort();
}

// The recording's path in the run's folder; the folder goes when the run ends.
const std::string& WorkFile() {
    static const std::string path = FuzzWorkFolder("mirado-fuzz-edit") + "/recording.001";
    return path;
}

void Append(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Reads the edit script byte by byte; past its end every byte reads as 0.
class ScriptReader {
public:
    ScriptReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    uint8_t Byte() { return position_ < size_ ? bytes_[position_++] : 0; }
    std::string Bytes(size_t count) {
        count = std::min(count, size_ - position_);
        std::string text(reinterpret_cast<const char*>(bytes_ + position_), count);
        position_ += count;
        return text;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_ = 0;
};

// A text as the identification dialog hands it over (valid UTF-8 from the basic plane,
// two script bytes per character), or the raw bytes, which the document must survive
// as well. Layout: a length byte (its top bit: raw), then the bytes.
std::string FuzzText(ScriptReader& script) {
    const uint8_t head = script.Byte();
    const bool raw = (head & 0x80) != 0;
    const std::string bytes = script.Bytes(std::min<size_t>(head & 0x7F, kLongestText));
    if (raw)
        return bytes;
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const uint32_t unit = static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1])
                                                                   << 8;
        if (unit != 0 && (unit < 0xD800 || unit > 0xDFFF))
            Append(text, unit);
    }
    return text;
}

struct EditScript {
    std::array<bool, 5> setText{};
    IdTexts texts;
    struct Move {
        bool analysis = false;
        bool analysisValid = true;
        MarkerPlacement placement;
    };
    std::vector<Move> moves;
};

// Script layout: a byte whose low five bits say which texts are set, each set text
// (FuzzText), a byte giving the number of moves, then per move a flag byte (bit 0: on
// the analysis, bit 1: analysis valid, bit 2: marker M) and the sample in two bytes.
EditScript ReadScript(const uint8_t* bytes, size_t size) {
    ScriptReader script(bytes, size);
    EditScript edits;
    std::string* texts[] = {&edits.texts.animalNo, &edits.texts.exNo, &edits.texts.weight,
                            &edits.texts.sexAge, &edits.texts.comment};
    const uint8_t which = script.Byte();
    for (size_t i = 0; i < kTextFields.size(); ++i) {
        edits.setText[i] = (which >> i & 1) != 0;
        if (edits.setText[i])
            *texts[i] = FuzzText(script);
    }
    const int moves = script.Byte() % (kMostMoves + 1);
    constexpr int kSampleSpan = kSampleCount + 2 * kSampleMargin;
    for (int i = 0; i < moves; ++i) {
        const uint8_t flags = script.Byte();
        EditScript::Move move;
        move.analysis = (flags & 1) != 0;
        move.analysisValid = (flags & 2) != 0;
        move.placement.marker = (flags & 4) != 0 ? MovableMarker::M : MovableMarker::S;
        const int raw = script.Byte() | script.Byte() << 8;
        move.placement.sample = raw % kSampleSpan - kSampleMargin;
        edits.moves.push_back(move);
    }
    return edits;
}

std::string ReadBack(const std::string& path) {
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
    if (!read.ok())
        Fail("the saved file cannot be read");
    return std::string(read.value().begin(), read.value().end());
}

void WriteInput(const std::string& recording) {
    if (!WriteFileAtomically(WorkFile(), recording).ok())
        Fail("the input cannot be written");
}

// Applies the script; returns which text fields were really changed.
std::array<bool, 5> ApplyEdits(CMiradoDoc& doc, const EditScript& edits) {
    const IdTexts shown = doc.GetIdTexts();
    const std::string* before[] = {&shown.animalNo, &shown.exNo, &shown.weight, &shown.sexAge,
                                   &shown.comment};
    IdTexts wanted = shown;
    std::string* after[] = {&wanted.animalNo, &wanted.exNo, &wanted.weight, &wanted.sexAge,
                            &wanted.comment};
    const std::string* given[] = {&edits.texts.animalNo, &edits.texts.exNo, &edits.texts.weight,
                                  &edits.texts.sexAge, &edits.texts.comment};
    std::array<bool, 5> changed{};
    for (size_t i = 0; i < changed.size(); ++i) {
        if (edits.setText[i])
            *after[i] = *given[i];
        changed[i] = *after[i] != *before[i];
    }
    doc.SetIdTexts(wanted);
    for (const EditScript::Move& move : edits.moves) {
        if (move.analysis)
            doc.ShowAnalysis(move.analysisValid);
        else
            doc.ShowStoredValues();
        doc.MoveMarker(move.placement);
    }
    return changed;
}

bool InWord(size_t index, size_t offset) {
    return index >= offset && index < offset + kInt16Width;
}

// Whether a save with the given text edits may change byte index of the written header
// and middle block.
bool EditsOwn(size_t index, const std::array<bool, 5>& changedTexts) {
    for (size_t i = 0; i < kTextFields.size(); ++i)
        if (changedTexts[i] && index >= kTextFields[i].offset &&
            index < kTextFields[i].offset + kTextFields[i].width)
            return true;
    if (InWord(index, kOffsetValidMark))
        return true;
    for (size_t word : kShownResultWords)
        if (InWord(index, kOffsetResultBlock + word))
            return true;
    return false;
}

void CheckSavedBytes(const std::string& input, const std::string& unedited,
                     const std::string& saved, const std::array<bool, 5>& changedTexts) {
    if (saved.size() != unedited.size())
        Fail("an edit changed the file's length");
    for (size_t i = 0; i < kOffsetSecondResultCopy; ++i)
        if (saved[i] != input[i] && !EditsOwn(i, changedTexts))
            Fail("a byte no edit owns changed");
    for (size_t k = 0; k < kResultBlockSize; ++k) {
        const size_t index = kOffsetSecondResultCopy + k;
        if (InWord(index, kOffsetWriterMark))
            continue;
        if (saved[index] != saved[kOffsetResultBlock + k])
            Fail("the second result copy differs from the first");
    }
    if (saved[kOffsetWriterMark] != kOwnWriterMark || saved[kOffsetWriterMark + 1] != 0)
        Fail("the writer mark is not this program's");
    if (saved.compare(kOffsetBeatPositions, std::string::npos, unedited, kOffsetBeatPositions,
                      std::string::npos) != 0)
        Fail("the beat positions or the channels changed");
}

// Opens the work file in a fresh document; false when the recording does not decode.
bool Open(CMiradoDoc& doc) {
    doc.SetFileList({WorkFile()});
    return doc.OpenFileAt(0);
}

// Reverts the saved file, the question answered Yes.
// Answers Yes to every question, the revert's included, and shows nothing.
class CAnswerYes : public IUserPrompts {
public:
    MessageAnswer ShowMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons) override {
        return MessageAnswer::Yes;
    }
};

void CheckRevert(const std::string& recording) {
    CAnswerYes prompts;
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc doc{services};
    if (!Open(doc) || !doc.RevertToOriginal())
        Fail("a saved recording cannot be reverted");
    if (ReadBack(WorkFile()) != recording)
        Fail("the revert did not give back the original bytes");
}

void EditOneVariant(std::string recording, char modelLetter, const EditScript& edits) {
    recording[kOffsetModelLetter] = modelLetter;
    // What a save without edits writes for the beat positions and the channels.
    CAdData plain;
    int modelCode = 0;
    if (!plain
             .LoadFromBytes(WorkFile(), reinterpret_cast<const uint8_t*>(recording.data()),
                            recording.size(), modelCode, nullptr)
             .ok())
        return;
    const std::string unedited = plain.SerializedBytes();

    // Each input is a new recording under the same name: its original is kept afresh.
    std::filesystem::remove_all(FuzzWorkFolder("mirado-fuzz-edit") + "/" + kOriginalsFolder);
    WriteInput(recording);
    CMiradoDoc doc{DocumentServices{}};
    if (!Open(doc))
        Fail("a recording that decodes does not open");
    const std::array<bool, 5> changedTexts = ApplyEdits(doc, edits);
    if (!doc.SaveCurrentFile())
        Fail("the edited recording cannot be saved");
    const std::string saved = ReadBack(WorkFile());
    CheckSavedBytes(recording, unedited, saved, changedTexts);

    CMiradoDoc again{DocumentServices{}};
    if (!Open(again) || !again.SaveCurrentFile())
        Fail("the saved recording does not open and save again");
    if (ReadBack(WorkFile()) != saved)
        Fail("save, reload, save changed the bytes");
    CheckRevert(recording);
}

} // namespace
} // namespace mirado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < mirado::kScriptLengthBytes)
        return 0;
    const size_t scriptLength =
        std::min<size_t>(bytes[0] | bytes[1] << 8, size - mirado::kScriptLengthBytes);
    const uint8_t* script = bytes + mirado::kScriptLengthBytes;
    const std::string recording(reinterpret_cast<const char*>(script + scriptLength),
                                size - mirado::kScriptLengthBytes - scriptLength);
    if (recording.size() < mirado::kOffsetChannels)
        return 0;
    const mirado::EditScript edits = mirado::ReadScript(script, scriptLength);
    mirado::EditOneVariant(recording, mirado::kVariantALetter, edits);
    mirado::EditOneVariant(recording, mirado::kVariantELetter, edits);
    return 0;
}
