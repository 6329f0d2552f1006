#pragma once
// Readings made by hand for the review's widgets: studies, animals and sessions of a few
// readings each, written as small files (the log hashes their bytes) and handed to the
// review by a reader that returns them instead of loading the files.

#include "document/Reading.h"
#include "reviewui/ReviewState.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirado::test {

struct ReadingSpec {
    std::string study, animal, date, time;
    int sbp;
};

inline Reading MakeReading(const std::string& path, const ReadingSpec& spec) {
    Reading reading;
    reading.path = path;
    reading.loaded = true;
    reading.headerRead = true;
    reading.complete = spec.sbp != 0;
    reading.values.exNo = spec.study;
    reading.values.animalNo = spec.animal;
    reading.values.date = spec.date;
    reading.values.time = spec.time;
    reading.values.sbp = spec.sbp;
    reading.values.mbp = spec.sbp - 20;
    reading.values.dbp = spec.sbp - 35;
    reading.values.hr = 500 + spec.sbp % 7;
    return reading;
}

// Two studies of two animals, each with three sessions of five readings (60 in all),
// SBP spread so that the rules have something to take.
inline std::vector<ReadingSpec> StandardSpecs() {
    static const char* const kTimes[] = {"10:00", "10:01", "10:02", "10:03", "10:04"};
    std::vector<ReadingSpec> specs;
    int k = 0;
    for (const char* study : {"S1", "S2"})
        for (const char* animal : {"A1", "A2"})
            for (const char* date : {"26/01/05", "26/01/06", "26/01/07"})
                for (int r = 0; r < 5; ++r, ++k)
                    specs.push_back(
                        {study, animal, date, kTimes[r], 120 + (k * 37) % 23 + (r == 4 ? 40 : 0)});
    return specs;
}

class ReviewFixture : public ::testing::Test {
protected:
    void SetUp() override { EnsureQtApp(); }

    // Writes one small file per spec and gives the reader that returns the readings.
    std::vector<std::string> Prepare(const std::vector<ReadingSpec>& specs) {
        std::vector<std::string> paths;
        readings.clear();
        for (size_t i = 0; i < specs.size(); ++i) {
            std::string name = std::to_string(1000 + i);
            name.insert(0, 1, 'R');
            name.append(".001");
            paths.push_back(dir.File(name));
            WriteText(paths.back(), "recording " + std::to_string(i));
            readings.push_back(MakeReading(paths.back(), specs[i]));
        }
        return paths;
    }

    // Returns the prepared reading of each path asked for. It holds its own copy: a run
    // that was dropped may still be reading when the test ends.
    ReviewReader Reader() {
        return [readings = readings](const std::vector<std::string>& paths, ValueSource, unsigned,
                                     const ReadingProgress&) {
            std::vector<Reading> asked;
            for (const std::string& path : paths)
                for (const Reading& reading : readings)
                    if (reading.path == path)
                        asked.push_back(reading);
            return asked;
        };
    }

    static void WaitFilled(CReviewState& state) {
        if (state.IsFilled())
            return;
        QSignalSpy filled(&state, &CReviewState::Filled);
        ASSERT_TRUE(filled.wait(5000));
    }

    TempFolder dir;
    std::vector<Reading> readings;
};

} // namespace mirado::test
