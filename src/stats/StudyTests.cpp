#include "stats/StudyStatistics.h"

#include <Eigen/Dense>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

namespace mirado {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The upper tail of the F distribution at f; NaN when f or the degrees are not usable.
double FUpperTail(double f, double df1, double df2) {
    if (!std::isfinite(f) || f < 0 || !(df1 > 0) || !(df2 > 0) || !std::isfinite(df1) ||
        !std::isfinite(df2))
        return kNaN;
    return boost::math::cdf(boost::math::complement(boost::math::fisher_f(df1, df2), f));
}

// The two-sided p of Student's t with df degrees of freedom.
double TwoSidedTailT(double t, double df) {
    if (!std::isfinite(t) || !(df > 0) || !std::isfinite(df))
        return kNaN;
    return 2 * boost::math::cdf(boost::math::complement(boost::math::students_t(df), std::fabs(t)));
}

// An orthonormal basis of the contrasts among `levels` sessions (normalised Helmert
// contrasts), one per column.
Eigen::MatrixXd OrthonormalContrasts(Eigen::Index levels) {
    Eigen::MatrixXd contrasts = Eigen::MatrixXd::Zero(levels, levels - 1);
    for (Eigen::Index k = 1; k < levels; ++k) {
        const double scale = 1.0 / std::sqrt(static_cast<double>(k * (k + 1)));
        contrasts.col(k - 1).head(k).setConstant(scale);
        contrasts(k, k - 1) = -static_cast<double>(k) * scale;
    }
    return contrasts;
}

struct GroupSplit {
    std::vector<Eigen::Index> of; // each animal's group as 0 .. count - 1
    std::vector<double> size;
    Eigen::Index count = 0;
};

GroupSplit SplitGroups(const std::vector<size_t>& group) {
    GroupSplit split;
    std::map<size_t, Eigen::Index> index;
    for (size_t g : group) {
        const auto [at, added] = index.emplace(g, split.count);
        if (added) {
            ++split.count;
            split.size.push_back(0);
        }
        split.of.push_back(at->second);
        split.size[static_cast<size_t>(at->second)] += 1;
    }
    return split;
}

// The rows of scores averaged per group (one row per group).
Eigen::MatrixXd GroupMeans(const Eigen::MatrixXd& scores, const GroupSplit& groups) {
    Eigen::MatrixXd means = Eigen::MatrixXd::Zero(groups.count, scores.cols());
    for (Eigen::Index i = 0; i < scores.rows(); ++i)
        means.row(groups.of[static_cast<size_t>(i)]) += scores.row(i);
    for (Eigen::Index g = 0; g < groups.count; ++g)
        means.row(g) /= groups.size[static_cast<size_t>(g)];
    return means;
}

// The sums of squares and products of the scores: within the groups (error), between the
// groups (the group effect), and of the unweighted mean of the group means against zero
// (the intercept, as type III sums of squares with sum-to-zero group contrasts have it).
struct ScoreSquares {
    Eigen::MatrixXd error, groups, intercept;
};

ScoreSquares SquaresOf(const Eigen::MatrixXd& scores, const GroupSplit& groups) {
    const Eigen::MatrixXd means = GroupMeans(scores, groups);
    ScoreSquares squares;
    Eigen::MatrixXd residuals = scores;
    for (Eigen::Index i = 0; i < scores.rows(); ++i)
        residuals.row(i) -= means.row(groups.of[static_cast<size_t>(i)]);
    squares.error = residuals.transpose() * residuals;
    const Eigen::RowVectorXd weighted = scores.colwise().mean();
    squares.groups = Eigen::MatrixXd::Zero(scores.cols(), scores.cols());
    double inverseSizes = 0;
    for (Eigen::Index g = 0; g < groups.count; ++g) {
        const Eigen::RowVectorXd d = means.row(g) - weighted;
        squares.groups += groups.size[static_cast<size_t>(g)] * d.transpose() * d;
        inverseSizes += 1.0 / groups.size[static_cast<size_t>(g)];
    }
    const double count = static_cast<double>(groups.count);
    const Eigen::RowVectorXd unweighted = means.colwise().mean();
    squares.intercept = unweighted.transpose() * unweighted / (inverseSizes / (count * count));
    return squares;
}

AnovaTerm MakeTerm(const char* name, double ss, double dfNum, double ssError, double dfDen) {
    AnovaTerm term;
    term.term = name;
    term.dfNum = dfNum;
    term.dfDen = dfDen;
    const double msError = ssError / dfDen;
    term.F = dfDen > 0 && msError > 0 ? (ss / dfNum) / msError : kNaN;
    term.p = FUpperTail(term.F, dfNum, dfDen);
    term.ggEpsilon = term.pGg = term.hfEpsilon = term.pHf = kNaN;
    return term;
}

// The Greenhouse-Geisser and Huynh-Feldt corrections of a within term from the error
// matrix on p orthonormal contrasts and the error's degrees of freedom between animals.
void CorrectForSphericity(AnovaTerm& term, const Eigen::MatrixXd& error, double errorDf) {
    term.within = true;
    const double p = static_cast<double>(error.rows());
    const double trace = error.trace();
    const double traceOfSquare = (error * error).trace();
    // With fewer error degrees of freedom than contrasts the error matrix is singular and
    // sphericity cannot be judged.
    const bool estimable = errorDf >= p && traceOfSquare > 0;
    term.ggEpsilon = estimable ? trace * trace / (p * traceOfSquare) : kNaN;
    term.hfEpsilon =
        ((errorDf + 1) * p * term.ggEpsilon - 2) / (p * (errorDf - p * term.ggEpsilon));
    term.pGg = FUpperTail(term.F, term.ggEpsilon * term.dfNum, term.ggEpsilon * term.dfDen);
    const double hf = std::isnan(term.hfEpsilon) ? kNaN : std::min(1.0, term.hfEpsilon);
    term.pHf = FUpperTail(term.F, hf * term.dfNum, hf * term.dfDen);
}

// The terms with their degrees of freedom and every number NaN.
std::vector<AnovaTerm> NotComputableTerms(Eigen::Index groups, size_t sessions, size_t animals) {
    const double g = static_cast<double>(groups);
    const double p = sessions > 0 ? static_cast<double>(sessions - 1) : 0;
    const double errorDf = static_cast<double>(animals) - g;
    std::vector<AnovaTerm> terms;
    if (groups > 1)
        terms.push_back(MakeTerm("group", kNaN, g - 1, kNaN, errorDf));
    terms.push_back(MakeTerm("session", kNaN, p, kNaN, errorDf * p));
    terms.back().within = true;
    if (groups > 1) {
        terms.push_back(MakeTerm("group:session", kNaN, (g - 1) * p, kNaN, errorDf * p));
        terms.back().within = true;
    }
    for (AnovaTerm& term : terms)
        term.F = term.p = term.ges = kNaN;
    return terms;
}

std::string AnovaProblem(size_t animals, Eigen::Index groups, size_t sessions) {
    if (sessions < 2)
        return "fewer than 2 sessions";
    if (animals <= static_cast<size_t>(groups))
        return "too few animals: no group has 2 with a value in every session";
    return {};
}

std::vector<size_t> CompleteAnimals(const StudyData& data, size_t m,
                                    std::vector<LeftOutAnimal>& leftOut) {
    std::vector<size_t> complete;
    for (size_t a = 0; a < data.animals.size(); ++a) {
        LeftOutAnimal missing{a, kMeasures[m], {}};
        for (size_t s = 0; s < data.sessions.size(); ++s)
            if (!data.animals[a].values[s][m])
                missing.missingSessions.push_back(s);
        if (missing.missingSessions.empty())
            complete.push_back(a);
        else
            leftOut.push_back(std::move(missing));
    }
    return complete;
}

MeasureAnova AnovaOf(const StudyData& data, size_t m) {
    MeasureAnova anova;
    anova.measure = kMeasures[m];
    const std::vector<size_t> complete = CompleteAnimals(data, m, anova.leftOut);
    std::vector<std::vector<double>> values;
    std::vector<size_t> groups;
    for (size_t a : complete) {
        std::vector<double> row;
        for (const MeasureValues& session : data.animals[a].values)
            row.push_back(*session[m]);
        values.push_back(std::move(row));
        groups.push_back(data.animals[a].group);
        if (std::find(anova.groupsUsed.begin(), anova.groupsUsed.end(), groups.back()) ==
            anova.groupsUsed.end())
            anova.groupsUsed.push_back(groups.back());
    }
    std::sort(anova.groupsUsed.begin(), anova.groupsUsed.end());
    anova.animalsUsed = complete.size();
    anova.terms = MixedAnova(values, groups, &anova.problem);
    return anova;
}

bool MeasureHasValues(const StudyData& data, size_t m) {
    for (const StudyAnimal& animal : data.animals)
        for (const MeasureValues& values : animal.values)
            if (values[m])
                return true;
    return false;
}

std::vector<double> SessionValuesOf(const StudyData& data, size_t group, size_t session, size_t m) {
    std::vector<double> values;
    for (const StudyAnimal& animal : data.animals)
        if (animal.group == group && animal.values[session][m])
            values.push_back(*animal.values[session][m]);
    return values;
}

bool GroupHasAnimals(const StudyData& data, size_t group) {
    return std::any_of(data.animals.begin(), data.animals.end(),
                       [&](const StudyAnimal& animal) { return animal.group == group; });
}

void AddComparisons(const StudyData& data, size_t m, size_t control, StudyTests& tests) {
    const size_t first = tests.comparisons.size();
    for (size_t s = 0; s < data.sessions.size(); ++s) {
        const std::vector<double> controlValues = SessionValuesOf(data, control, s, m);
        for (size_t g = 0; g < data.groups.size(); ++g) {
            if (g == control || !GroupHasAnimals(data, g))
                continue;
            const std::vector<double> values = SessionValuesOf(data, g, s, m);
            const WelchResult welch = WelchTest(values, controlValues);
            tests.comparisons.push_back(
                {kMeasures[m], s, g, control, static_cast<int>(values.size()),
                 static_cast<int>(controlValues.size()), welch.t, welch.df, welch.p, kNaN});
        }
    }
    std::vector<double> p;
    for (size_t i = first; i < tests.comparisons.size(); ++i)
        p.push_back(tests.comparisons[i].p);
    const std::vector<double> adjusted = HolmAdjust(p);
    for (size_t i = first; i < tests.comparisons.size(); ++i)
        tests.comparisons[i].pHolm = adjusted[i - first];
}

} // namespace

std::vector<AnovaTerm> MixedAnova(const std::vector<std::vector<double>>& values,
                                  const std::vector<size_t>& group, std::string* problem) {
    const GroupSplit groups = SplitGroups(group);
    const size_t sessions = values.empty() ? 0 : values.front().size();
    const std::string why = AnovaProblem(values.size(), groups.count, sessions);
    if (problem != nullptr)
        *problem = why;
    if (!why.empty())
        return NotComputableTerms(groups.count, sessions, values.size());
    const Eigen::Index n = static_cast<Eigen::Index>(values.size());
    const Eigen::Index levels = static_cast<Eigen::Index>(sessions);
    Eigen::MatrixXd y(n, levels);
    for (Eigen::Index i = 0; i < n; ++i)
        for (Eigen::Index s = 0; s < levels; ++s)
            y(i, s) = values[static_cast<size_t>(i)][static_cast<size_t>(s)];

    const Eigen::MatrixXd between = y.rowwise().sum() / std::sqrt(static_cast<double>(levels));
    const Eigen::MatrixXd within = y * OrthonormalContrasts(levels);
    const ScoreSquares b = SquaresOf(between, groups);
    const ScoreSquares w = SquaresOf(within, groups);

    const double g = static_cast<double>(groups.count);
    const double errorDf = static_cast<double>(n) - g;
    const double p = static_cast<double>(levels - 1);
    const double ssErrorBetween = b.error.trace(), ssErrorWithin = w.error.trace();
    // Generalised eta squared with every factor manipulated: the effect against itself
    // plus every error term.
    const auto withEtaSquared = [&](AnovaTerm term, double ss) {
        const double total = ss + ssErrorBetween + ssErrorWithin;
        term.ges = total > 0 ? ss / total : kNaN;
        return term;
    };
    std::vector<AnovaTerm> terms;
    if (groups.count > 1)
        terms.push_back(withEtaSquared(
            MakeTerm("group", b.groups.trace(), g - 1, ssErrorBetween, errorDf), b.groups.trace()));
    terms.push_back(
        withEtaSquared(MakeTerm("session", w.intercept.trace(), p, ssErrorWithin, errorDf * p),
                       w.intercept.trace()));
    CorrectForSphericity(terms.back(), w.error, errorDf);
    if (groups.count > 1) {
        terms.push_back(withEtaSquared(
            MakeTerm("group:session", w.groups.trace(), (g - 1) * p, ssErrorWithin, errorDf * p),
            w.groups.trace()));
        CorrectForSphericity(terms.back(), w.error, errorDf);
    }
    if (problem != nullptr && std::isnan(terms.back().F))
        *problem = "no residual variance";
    return terms;
}

WelchResult WelchTest(const std::vector<double>& x, const std::vector<double>& y) {
    if (x.size() < 2 || y.size() < 2)
        return {kNaN, kNaN, kNaN};
    const LevelStatistic a = ComputeLevelStatistic(x), b = ComputeLevelStatistic(y);
    const double va = a.sd * a.sd / a.n, vb = b.sd * b.sd / b.n;
    const double se2 = va + vb;
    if (!(se2 > 0))
        return {kNaN, kNaN, kNaN};
    WelchResult result;
    result.t = (a.mean - b.mean) / std::sqrt(se2);
    result.df = se2 * se2 / (va * va / (a.n - 1) + vb * vb / (b.n - 1));
    result.p = TwoSidedTailT(result.t, result.df);
    return result;
}

std::vector<double> HolmAdjust(const std::vector<double>& p) {
    std::vector<size_t> order;
    for (size_t i = 0; i < p.size(); ++i)
        if (!std::isnan(p[i]))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return p[a] < p[b]; });
    std::vector<double> adjusted(p.size(), kNaN);
    double running = 0;
    const double count = static_cast<double>(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        running = std::max(running, std::min(1.0, (count - static_cast<double>(k)) * p[order[k]]));
        adjusted[order[k]] = running;
    }
    return adjusted;
}

StudyTests ComputeStudyTests(const StudyData& data, size_t controlGroup,
                             const std::vector<Measure>& measures) {
    StudyTests tests;
    tests.control = controlGroup;
    for (Measure measure : measures) {
        const size_t m = static_cast<size_t>(measure);
        if (!MeasureHasValues(data, m))
            continue;
        tests.anovas.push_back(AnovaOf(data, m));
        if (controlGroup < data.groups.size())
            AddComparisons(data, m, controlGroup, tests);
    }
    return tests;
}

} // namespace mirado
