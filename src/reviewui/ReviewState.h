#pragma once
// CReviewState: the review of the listed files as the window shows it. It reads every
// listed file and its folder's review log on a thread of its own (the readings arrive by
// the Filled signal; the window stays responsive meanwhile), reviews them under the
// chosen acceptance profile, and takes the user's decisions: each is appended to the
// review log first, then only the decided reading's animal is reviewed again, so a
// decision costs the readings of one animal, not of the whole list.
//
// Destroying the state, or giving it other files, drops a read still under way without
// waiting for it.

#include "document/Reading.h"
#include "files/Result.h"
#include "review/AcceptanceProfile.h"
#include "review/ReadingReview.h"
#include "review/ReviewEvent.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace mirado {

// How the state reads its files: ReadRecordings, or a stand-in that tests give.
using ReviewReader =
    std::function<std::vector<Reading>(const std::vector<std::string>& paths, ValueSource source,
                                       unsigned jobs, const ReadingProgress& progress)>;

class CReviewState : public QObject {
    Q_OBJECT
public:
    explicit CReviewState(unsigned jobs, ReviewReader reader = ReadRecordings,
                          QObject* parent = nullptr);
    ~CReviewState() override;

    // Starts reading these files (the list's order); the rows exist at once, their values
    // once Filled arrives.
    void SetFiles(std::vector<std::string> paths);
    const std::vector<std::string>& Paths() const { return paths_; }
    // The first listed file with the path; nothing when it is not listed.
    std::optional<size_t> IndexOf(const std::string& path) const;
    bool IsFilled() const { return filled_; }
    // Files read so far by the run under way.
    size_t Done() const;

    // Empty until filled; then one per path.
    const std::vector<Reading>& Readings() const { return readings_; }
    const ReviewResult& Review() const { return review_; }
    // Whether the file had a kept original (it was corrected and saved) when it was read.
    bool HasSavedCorrections(size_t index) const;
    // The warnings about review logs met while filling.
    const std::vector<std::string>& Warnings() const { return warnings_; }

    const AcceptanceProfile& Profile() const { return profile_; }
    // Reviews every reading again under the profile.
    void SetProfile(AcceptanceProfile profile);

    // The reading's manual decision as the state holds it (the log's last, or one made here).
    std::optional<ManualDecision> DecisionAt(size_t index) const;
    // Appends the decision (accept, reject or clear) to the file's review log and, once it
    // is there, takes it into the review. Fails with the reason, changing nothing.
    Result<void> Decide(size_t index, ReviewAction action, const std::string& reason,
                        const std::string& note);

    // The session of the reading, or null while it joins none (or before filling).
    const SessionReview* SessionOf(size_t index) const;

signals:
    // Other files were given: every row is new and has no values yet.
    void FilesSet();
    void Filled();
    // The readings whose review changed (their rows and their session).
    void ReadingsReviewed(const std::vector<size_t>& indices);

private:
    struct Run;
    struct Outcome {
        std::vector<Reading> readings;
        std::vector<std::optional<ManualDecision>> decisions;
        std::vector<bool> savedCorrections;
        std::vector<std::string> warnings;
    };
    static void Work(const std::shared_ptr<Run>& run, unsigned jobs);
    void Deliver(const std::shared_ptr<Run>& run);
    void ReviewAll();
    std::vector<size_t> ReviewAnimalOf(size_t index);
    std::vector<size_t> AnimalReadings(size_t index) const;

    const unsigned jobs_;
    ReviewReader reader_;
    std::shared_ptr<Run> run_;
    std::vector<std::string> paths_;
    std::unordered_map<std::string, size_t> indexOfPath_;
    bool filled_ = false;
    std::vector<Reading> readings_;
    std::vector<std::optional<ManualDecision>> decisions_;
    // Decisions made while the files were being read, put over the log's when they arrive.
    std::map<size_t, std::optional<ManualDecision>> pending_;
    std::vector<bool> savedCorrections_;
    std::vector<std::string> warnings_;
    AcceptanceProfile profile_;
    ReviewResult review_;
    // Each session's animal: the sessions of one study and animal number are neighbours.
    std::vector<size_t> animalFirstSession_, animalEndSession_;
};

} // namespace mirado
