#include "document/CsvField.h"
#include "platform/JsonWriter.h"
#include "records/TextEncoding.h"
#include "stats/StudyStatistics.h"

#include <cmath>

namespace mirado {

namespace {

constexpr const char* kLevelFields[] = {"n", "mean", "sd", "sem", "min", "max"};

std::string CsvNumber(double value) {
    return std::isfinite(value) ? ShortestDecimal(value) : std::string();
}

void JsonNumber(CJsonWriter& json, const char* key, double value) {
    json.Key(key);
    if (std::isfinite(value))
        json.Double(value);
    else
        json.Null();
}

std::string SessionText(const StudyData& data, size_t session) {
    return Cp932ToUtf8(data.sessions[session].date);
}

std::vector<double> LevelNumbers(const LevelStatistic& statistic) {
    return {statistic.mean, statistic.sd, statistic.sem, statistic.min, statistic.max};
}

// Appends fields already in their CSV form as one line.
void AppendRow(std::string& csv, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            csv += ',';
        csv += fields[i];
    }
    csv += '\n';
}

const char* const kTestColumns =
    "measure,test,term,session,group,control,n,n_control,df_num,df_den,F,t,df,p,ges,"
    "gg_epsilon,p_gg,hf_epsilon,p_hf,p_holm\n";

} // namespace

std::string LevelsCsv(const StudyData& data, const std::vector<GroupLevels>& rows) {
    std::vector<std::string> header = {"group", "date"};
    for (Measure measure : kMeasures)
        for (const char* field : kLevelFields)
            header.push_back(std::string(MeasureName(measure)) + "_" + field);
    std::string csv;
    AppendRow(csv, header);
    for (const GroupLevels& row : rows) {
        std::vector<std::string> fields = {CsvField(data.groups[row.group]),
                                           CsvField(SessionText(data, row.session))};
        for (const LevelStatistic& statistic : row.measures) {
            fields.push_back(std::to_string(statistic.n));
            for (double value : LevelNumbers(statistic))
                fields.push_back(CsvNumber(value));
        }
        AppendRow(csv, fields);
    }
    return csv;
}

std::string LevelsJsonLines(const StudyData& data, const std::vector<GroupLevels>& rows) {
    std::string lines;
    for (const GroupLevels& row : rows) {
        CJsonWriter json;
        json.BeginObject().Key("group").String(data.groups[row.group]);
        json.Key("date").String(SessionText(data, row.session));
        for (size_t m = 0; m < kMeasureCount; ++m) {
            const LevelStatistic& statistic = row.measures[m];
            json.Key(MeasureName(kMeasures[m])).BeginObject().Key("n").Int(statistic.n);
            const std::vector<double> numbers = LevelNumbers(statistic);
            for (size_t i = 0; i < numbers.size(); ++i)
                JsonNumber(json, kLevelFields[i + 1], numbers[i]);
            json.EndObject();
        }
        lines += json.EndObject().Text() + '\n';
    }
    return lines;
}

std::string StudyTestsJsonLines(const StudyData& data, const StudyTests& tests) {
    std::string lines;
    for (const MeasureAnova& anova : tests.anovas)
        for (const AnovaTerm& term : anova.terms) {
            CJsonWriter json;
            json.BeginObject().Key("measure").String(MeasureName(anova.measure));
            json.Key("test").String("anova").Key("term").String(term.term);
            JsonNumber(json, "df_num", term.dfNum);
            JsonNumber(json, "df_den", term.dfDen);
            JsonNumber(json, "F", term.F);
            JsonNumber(json, "p", term.p);
            JsonNumber(json, "ges", term.ges);
            JsonNumber(json, "gg_epsilon", term.ggEpsilon);
            JsonNumber(json, "p_gg", term.pGg);
            JsonNumber(json, "hf_epsilon", term.hfEpsilon);
            JsonNumber(json, "p_hf", term.pHf);
            lines += json.EndObject().Text() + '\n';
        }
    for (const WelchComparison& c : tests.comparisons) {
        CJsonWriter json;
        json.BeginObject().Key("measure").String(MeasureName(c.measure));
        json.Key("test").String("welch").Key("session").String(SessionText(data, c.session));
        json.Key("group").String(data.groups[c.group]);
        json.Key("control").String(data.groups[c.control]);
        json.Key("n").Int(c.n).Key("n_control").Int(c.nControl);
        JsonNumber(json, "t", c.t);
        JsonNumber(json, "df", c.df);
        JsonNumber(json, "p", c.p);
        JsonNumber(json, "p_holm", c.pHolm);
        lines += json.EndObject().Text() + '\n';
    }
    return lines;
}

std::string StudyTestsCsv(const StudyData& data, const StudyTests& tests) {
    std::string csv = kTestColumns;
    for (const MeasureAnova& anova : tests.anovas)
        for (const AnovaTerm& term : anova.terms)
            AppendRow(csv, {MeasureName(anova.measure),
                            "anova",
                            term.term,
                            "",
                            "",
                            "",
                            "",
                            "",
                            CsvNumber(term.dfNum),
                            CsvNumber(term.dfDen),
                            CsvNumber(term.F),
                            "",
                            "",
                            CsvNumber(term.p),
                            CsvNumber(term.ges),
                            CsvNumber(term.ggEpsilon),
                            CsvNumber(term.pGg),
                            CsvNumber(term.hfEpsilon),
                            CsvNumber(term.pHf),
                            ""});
    for (const WelchComparison& c : tests.comparisons)
        AppendRow(csv, {MeasureName(c.measure),
                        "welch",
                        "",
                        CsvField(SessionText(data, c.session)),
                        CsvField(data.groups[c.group]),
                        CsvField(data.groups[c.control]),
                        std::to_string(c.n),
                        std::to_string(c.nControl),
                        "",
                        "",
                        "",
                        CsvNumber(c.t),
                        CsvNumber(c.df),
                        CsvNumber(c.p),
                        "",
                        "",
                        "",
                        "",
                        "",
                        CsvNumber(c.pHolm)});
    return csv;
}

} // namespace mirado
