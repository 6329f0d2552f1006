// The study statistics on a study of the size a lab runs: 40 animals in 4 groups over 25
// sessions, every measure; the ANOVA and the comparisons should take milliseconds.

#include "stats/StudyStatistics.h"

#include <benchmark/benchmark.h>

#include <random>

namespace mirado {
namespace {

StudyData LargeStudy() {
    GroupsTable groups;
    std::vector<SessionValues> values;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 8);
    for (int animal = 1; animal <= 40; ++animal) {
        const AnimalKey key{"S", std::to_string(animal)};
        groups.Assign(key, "group " + std::to_string(animal % 4));
        for (int session = 1; session <= 25; ++session) {
            const std::string date = "24/" + std::string(session < 13 ? "01" : "02") + "/" +
                                     (session % 13 < 9 ? "0" : "") +
                                     std::to_string(session % 13 + 1);
            const double sbp = 120 + (animal % 4) * session * 0.5 + noise(random);
            values.push_back({key, date, ReadSessionDate(date),
                              MeasureValues{sbp, sbp - 20, sbp - 30, 400 + noise(random)}});
        }
    }
    return CollectStudyData(values, groups);
}

void BM_StudyTests(benchmark::State& state) {
    const StudyData data = LargeStudy();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeStudyTests(data, 0));
}
BENCHMARK(BM_StudyTests)->Unit(benchmark::kMillisecond);

void BM_StudyLevels(benchmark::State& state) {
    const StudyData data = LargeStudy();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeLevels(data));
        benchmark::DoNotOptimize(ComputeChangeFromBaseline(data, 0));
    }
}
BENCHMARK(BM_StudyLevels)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace mirado

BENCHMARK_MAIN();
