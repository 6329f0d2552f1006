// The batch tool on many files, run as its own process so that its wall time and its peak
// memory (maximum resident set) are those a user sees.
// Targets: on two cores `export --jobs 2` takes at most 0.65 of `export --jobs 1`
// (BM_Cli/export/10000/2 against BM_Cli/export/10000/1); the peak memory of info,
// summary and export over 10,000 files is at most 1.2 times that over 100 files
// (BM_PeakMemory, counters *_growth, with one and with two jobs).
// On a machine other work shares, the threads of one run get no second core; take the
// times with the run given the cores, e.g. `chrt -f 50 taskset -c 0,1 bench_cli`.
// summary --profile P costs at most 1.3 times summary without one on the 10,000 files
// (BM_SummaryProfile: the review reads the folder's review log, gives every reading its
// status and applies the session rules before the summary), with a log holding a
// decision by hand for one file in twenty-five.
// BM_LoadOnly and BM_LoadAndAnalyze show the share of the work that reading and decoding
// take: the export does little else (its rows take the stored values, so it opens the
// files without analysing them), and that part runs ahead on every job's thread.
// stats takes at most 1.2 times summary on 100,000 recordings: 40 animals × 25 sessions
// × 100 readings, the animals in four groups of ten by the groups table beside the files,
// one job each (BM_StudyStats/1 against BM_StudyStats/0; the stats run also times a
// summary run just before each of its own, and its counters ratio and cpu_ratio compare
// the two). That folder is made only when BM_StudyStats runs, which takes a minute or two.

#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/synth/RecordingGenerator.h"
#include "review/ReviewLog.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kLargeCount = 10000;
constexpr int kSmallCount = 100;
constexpr int kDamagedEvery = 50;
constexpr int kAnimals = 12;
constexpr int kDays = 20;
constexpr double kKilobytesPerMegabyte = 1024.0;
constexpr int kDecisionEvery = 25;

constexpr int kStudyAnimals = 40;
constexpr int kStudyGroupSize = 10;
constexpr int kStudySessions = 25;
constexpr int kStudyReadings = 100;
constexpr int kDaysInApril = 30;
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
constexpr int kFirstAnimalAt = 8 * kSecondsPerHour;
constexpr int kSecondsPerAnimal = 10 * kSecondsPerMinute; // its 100 readings, one in 6 s
constexpr int kSecondsPerReading = kSecondsPerAnimal / kStudyReadings;
// Systolic pressure (mmHg) of each group's animals on average; an animal's own level lies
// within kAnimalSpread of its group's, its readings scatter by up to kReadingScatter
// around that, and the diastolic lies kPulsePressure below (give or take kPulseScatter).
constexpr const char* kStudyGroups[] = {"vehicle", "low", "mid", "high"};
constexpr int kGroupSbp[] = {118, 122, 126, 130};
constexpr int kAnimalSpread = 2;
constexpr int kReadingScatter = 8;
constexpr int kPulsePressure = 36;
constexpr int kPulseScatter = 4;

// A folder of its own under the temporary folder, removed with all it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
        : path_(std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// 10,000 synthetic recordings of twelve animals over twenty days, one in fifty damaged.
class StudyFolder {
public:
    StudyFolder() {
        for (int i = 0; i < kLargeCount; ++i) {
            mirado::SynthOptions options;
            options.seed = static_cast<uint64_t>(i + 1);
            options.animalNo = "M-" + std::to_string(i % kAnimals);
            options.studyNo = "S1";
            options.date = "24/03/" + std::to_string(10 + (i / kAnimals) % kDays);
            if (i % kDamagedEvery == kDamagedEvery - 1)
                options.damage = mirado::Damage::Truncated;
            const std::string path = (folder_ / ("rec" + std::to_string(i) + ".01")).string();
            if (mirado::WriteRecording(path, options).ok())
                paths_.push_back(path);
        }
    }
    std::vector<std::string> First(size_t count) const {
        return {paths_.begin(), paths_.begin() + static_cast<long>(std::min(count, paths_.size()))};
    }
    std::string Output() const { return (folder_ / "out.txt").string(); }
    // The folder's review log: a rejection by hand of one file in kDecisionEvery, an
    // acceptance of the next one.
    void WriteReviewLog() const {
        std::ofstream log(folder_ / mirado::kReviewLogName, std::ios::trunc);
        for (size_t i = 0; i + 1 < paths_.size(); i += kDecisionEvery) {
            const auto reject = mirado::DecisionEvent(mirado::ReviewAction::Reject,
                                                      mirado::FileNameInFolder(paths_[i]),
                                                      std::string(64, '0'), "movement", "");
            const auto accept = mirado::DecisionEvent(mirado::ReviewAction::Accept,
                                                      mirado::FileNameInFolder(paths_[i + 1]),
                                                      std::string(64, '0'), "", "");
            log << reject.fields.dump() << '\n' << accept.fields.dump() << '\n';
        }
    }

private:
    ScratchFolder folder_{"mirado-bench-cli-"};
    std::vector<std::string> paths_;
};

const StudyFolder& Study() {
    static const StudyFolder folder;
    return folder;
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

// The session's date: every other day from 24/04/01, 15 in April and 10 in May.
std::string SessionDate(int session) {
    const int day = 2 * session;
    return day < kDaysInApril ? "24/04/" + TwoDigits(day + 1)
                              : "24/05/" + TwoDigits(day - kDaysInApril + 1);
}

// The reading's time of day: the animals one after the other from 08:00, ten minutes each.
std::string ReadingTime(int animal, int reading) {
    const int seconds = kFirstAnimalAt + animal * kSecondsPerAnimal + reading * kSecondsPerReading;
    return TwoDigits(seconds / kSecondsPerHour) + ":" +
           TwoDigits(seconds / kSecondsPerMinute % kSecondsPerMinute) + ":" +
           TwoDigits(seconds % kSecondsPerMinute);
}

std::string StudyAnimalNo(int animal) {
    std::string number = "A";
    number += TwoDigits(animal + 1);
    return number;
}

// 100,000 recordings of study S1: animals A01 to A40, ten in each group of kStudyGroups,
// each read 100 times in each of 25 sessions; the groups table mirado-groups.csv beside
// them, and the list of their paths for --files-from (more than a command line holds).
class GroupStudyFolder {
public:
    GroupStudyFolder() {
        std::ofstream groups(Groups(), std::ios::trunc);
        groups << "study_no,animal_no,group\n";
        for (int animal = 0; animal < kStudyAnimals; ++animal)
            groups << "S1," << StudyAnimalNo(animal) << ','
                   << kStudyGroups[animal / kStudyGroupSize] << '\n';
        std::ofstream list(List(), std::ios::trunc);
        std::mt19937 random(1);
        std::uniform_int_distribution<int> readingScatter(-kReadingScatter, kReadingScatter);
        std::uniform_int_distribution<int> pulseScatter(-kPulseScatter, kPulseScatter);
        int index = 0;
        for (int session = 0; session < kStudySessions; ++session) {
            for (int animal = 0; animal < kStudyAnimals; ++animal) {
                const int animalSbp = kGroupSbp[animal / kStudyGroupSize] +
                                      animal % (2 * kAnimalSpread + 1) - kAnimalSpread;
                for (int reading = 0; reading < kStudyReadings; ++reading, ++index) {
                    const int sbp = animalSbp + readingScatter(random);
                    mirado::SynthOptions options;
                    options.seed = static_cast<uint64_t>(index + 1);
                    options.sbp = 2 * sbp; // half mmHg
                    options.dbp = 2 * (sbp - kPulsePressure + pulseScatter(random));
                    options.studyNo = "S1";
                    options.animalNo = StudyAnimalNo(animal);
                    options.date = SessionDate(session);
                    options.time = ReadingTime(animal, reading);
                    const std::string path =
                        (folder_ / ("rec" + std::to_string(index) + ".01")).string();
                    if (mirado::WriteRecording(path, options).ok()) {
                        list << path << '\n';
                        ++count_;
                    }
                }
            }
        }
    }
    std::string Groups() const { return (folder_ / "mirado-groups.csv").string(); }
    std::string List() const { return (folder_ / "files.txt").string(); }
    int Count() const { return count_; }

private:
    ScratchFolder folder_{"mirado-bench-study-"};
    int count_ = 0;
};

const GroupStudyFolder& GroupStudy() {
    static const GroupStudyFolder folder;
    return folder;
}

struct ProcessRun {
    double seconds = 0;
    double cpuSeconds = 0; // user and system time: steadier than the wall time on a shared machine
    double peakMegabytes = 0;
    int status = -1;
};

// Runs mirado-cli with the arguments, standard output and error to /dev/null.
ProcessRun RunTool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string tool = MIRADO_CLI_PATH;
    argv.push_back(tool.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, tool.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / kKilobytesPerMegabyte;
        run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

std::vector<std::string> CommandLine(const std::string& command, size_t count, int jobs) {
    std::vector<std::string> args = {command, "--jobs", std::to_string(jobs)};
    if (command == "export")
        args.insert(args.end(), {"-o", Study().Output()});
    const std::vector<std::string> files = Study().First(count);
    args.insert(args.end(), files.begin(), files.end());
    return args;
}

const char* const kCommands[] = {"info", "summary", "export"};

// Arguments: command (index into kCommands), file count, jobs.
void BM_Cli(benchmark::State& state) {
    const std::vector<std::string> args =
        CommandLine(kCommands[state.range(0)], static_cast<size_t>(state.range(1)),
                    static_cast<int>(state.range(2)));
    ProcessRun run;
    for (auto _ : state) {
        run = RunTool(args);
        state.SetIterationTime(run.seconds);
    }
    state.SetLabel(std::string(kCommands[state.range(0)]) + " --jobs " +
                   std::to_string(state.range(2)));
    state.counters["peak_MB"] = run.peakMegabytes;
    state.counters["exit"] = run.status;
}

const char* const kProfiles[] = {"", "all", "acclimation-2sd", "screening"};

// Argument: the profile (index into kProfiles; the first none).
void BM_SummaryProfile(benchmark::State& state) {
    Study().WriteReviewLog();
    std::vector<std::string> args = {"summary", "--jobs", "1"};
    const std::string profile = kProfiles[state.range(0)];
    if (!profile.empty())
        args.insert(args.end(), {"--profile", profile});
    const std::vector<std::string> files = Study().First(kLargeCount);
    args.insert(args.end(), files.begin(), files.end());
    ProcessRun run;
    double cpuSeconds = 0;
    for (auto _ : state) {
        run = RunTool(args);
        state.SetIterationTime(run.seconds);
        cpuSeconds += run.cpuSeconds;
    }
    state.SetLabel(profile.empty() ? "summary" : "summary --profile " + profile);
    state.counters["cpu_s"] = cpuSeconds / static_cast<double>(state.iterations());
    state.counters["peak_MB"] = run.peakMegabytes;
    state.counters["exit"] = run.status;
}

// Argument: 0 summary, 1 stats over the group study's files, with one job. The stats run
// times a summary run just before each of its own: under the same load the ratio of the
// two (ratio of the wall times, cpu_ratio of the CPU times) is steadier than that of two
// benchmarks taken minutes apart.
void BM_StudyStats(benchmark::State& state) {
    const GroupStudyFolder& study = GroupStudy();
    const bool stats = state.range(0) == 1;
    const std::vector<std::string> summaryArgs = {"summary", "--jobs", "1", "--files-from",
                                                  study.List()};
    const std::vector<std::string> statsArgs = {
        "stats", "--jobs", "1", "--groups", study.Groups(), "--files-from", study.List()};
    ProcessRun run, summary;
    double seconds = 0, cpuSeconds = 0, summarySeconds = 0, summaryCpuSeconds = 0;
    for (auto _ : state) {
        if (stats) {
            summary = RunTool(summaryArgs);
            summarySeconds += summary.seconds;
            summaryCpuSeconds += summary.cpuSeconds;
        }
        run = RunTool(stats ? statsArgs : summaryArgs);
        state.SetIterationTime(run.seconds);
        seconds += run.seconds;
        cpuSeconds += run.cpuSeconds;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.SetLabel(stats ? "stats --groups" : "summary");
    state.counters["files"] = study.Count();
    state.counters["s"] = seconds / iterations;
    state.counters["cpu_s"] = cpuSeconds / iterations;
    state.counters["peak_MB"] = run.peakMegabytes;
    state.counters["exit"] = run.status;
    if (stats) {
        state.counters["summary_exit"] = summary.status;
        state.counters["summary_s"] = summarySeconds / iterations;
        state.counters["summary_cpu_s"] = summaryCpuSeconds / iterations;
        state.counters["ratio"] = seconds / summarySeconds;
        state.counters["cpu_ratio"] = cpuSeconds / summaryCpuSeconds;
    }
}

// Argument: jobs.
void BM_PeakMemory(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    state.SetLabel("--jobs " + std::to_string(jobs));
    for (auto _ : state) {
        for (const char* command : kCommands) {
            const double small = RunTool(CommandLine(command, kSmallCount, jobs)).peakMegabytes;
            const double large = RunTool(CommandLine(command, kLargeCount, jobs)).peakMegabytes;
            state.counters[std::string(command) + "_100_MB"] = small;
            state.counters[std::string(command) + "_10000_MB"] = large;
            state.counters[std::string(command) + "_growth"] = large / small;
        }
    }
}

template <bool Analyze> void LoadFiles(benchmark::State& state) {
    const std::vector<std::string> paths = Study().First(kLargeCount);
    for (auto _ : state) {
        mirado::AnalysisRecords records;
        for (const std::string& path : paths) {
            mirado::CAdData data;
            int model = 0;
            if (data.Load(path, model, nullptr).ok() && Analyze)
                records.Analyze(data, mirado::ModelCodeWithFileName(model, path));
            benchmark::DoNotOptimize(data.GetChannel1());
        }
    }
}

void BM_LoadOnly(benchmark::State& state) {
    LoadFiles<false>(state);
}
void BM_LoadAndAnalyze(benchmark::State& state) {
    LoadFiles<true>(state);
}

} // namespace

BENCHMARK(BM_Cli)
    ->ArgsProduct({{0, 1, 2}, {kLargeCount}, {1, 2}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SummaryProfile)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_PeakMemory)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadAndAnalyze)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK(BM_StudyStats)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
