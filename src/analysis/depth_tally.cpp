#include "analysis/depth_tally.h"

#include "analysis/shot_time.h"
#include "document/survey_file.h"
#include "platform/number_text.h"
#include "survey/survey_types.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <cstdlib>
#include <algorithm>
#include <map>
#include <utility>

namespace zolm {

namespace {

constexpr std::int64_t Day = 86400;
// Below this a depth counts as not entered (as the table shows it).
constexpr double MinDepth = 0.01;

QString depthText(double depth)
{
    return QString::number(depth, 'f', 2);
}

} // namespace

Result<std::vector<TallyLine>> parseTally(const QByteArray &text, const std::optional<QDateTime> &probeStart)
{
    static const QRegularExpression fieldSplit(QStringLiteral("[\\s,]+"));
    static const QRegularExpression timeForm(QStringLiteral("^(\\d{1,3}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const bool clock = probeStart && probeStart->isValid();
    const std::int64_t startOfDay = clock ? probeStart->time().msecsSinceStartOfDay() / 1000 : 0;
    auto fail = [](int line, const QString &why) -> Result<std::vector<TallyLine>> {
        return makeError(ErrorCode::WrongFile, QCoreApplication::translate("DepthTally", "井深记录第 %1 行：%2").arg(line).arg(why));
    };

    std::vector<TallyLine> lines;
    std::int64_t days = 0; // clock times: the day after the probe's start day the run has reached
    const QStringList rows = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        QString row = rows[i];
        if (i == 0 && row.startsWith(QChar(0xFEFF)))
            row.remove(0, 1);
        if (const qsizetype hash = row.indexOf(QLatin1Char('#')); hash >= 0)
            row.truncate(hash);
        row = row.trimmed();
        if (row.isEmpty())
            continue;
        const QStringList fields = row.split(fieldSplit, Qt::SkipEmptyParts);
        if (fields.size() != 2)
            return fail(number, QCoreApplication::translate("DepthTally", "应为“时间 井深”两项，而不是“%1”").arg(row));
        const QRegularExpressionMatch m = timeForm.match(fields[0]);
        if (!m.hasMatch())
            return fail(number, QCoreApplication::translate("DepthTally", "时间“%1”应为 时:分 或 时:分:秒").arg(fields[0]));
        const int hours = m.captured(1).toInt();
        const int minutes = m.captured(2).toInt();
        const int seconds = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        if (minutes > 59 || seconds > 59 || (clock && hours > 23))
            return fail(number, QCoreApplication::translate("DepthTally", "时间“%1”无效").arg(fields[0]));
        const std::optional<double> parsed = parseNumber(fields[1]);
        if (!parsed)
            return fail(number, QCoreApplication::translate("DepthTally", "井深“%1”不是一个数").arg(fields[1]));
        const double depth = *parsed;
        if (depth < MinDepth || depth > MaxStoredDepth)
            return fail(number, QCoreApplication::translate("DepthTally", "井深 %1 应在 %2 到 %3 米之间").arg(fields[1], depthText(MinDepth), depthText(MaxStoredDepth)));

        const std::int64_t written = std::int64_t{hours} * 3600 + minutes * 60 + seconds;
        std::int64_t since = written;
        if (clock) {
            // A clock time before the probe's start time of day is on a later day; one earlier
            // than the line before it is on the next day again.
            const std::int64_t inDay = ((written - startOfDay) % Day + Day) % Day;
            since = inDay + days * Day;
            if (!lines.empty() && since < lines.back().seconds) {
                ++days;
                since += Day;
            }
        }
        lines.push_back({number, fields[0], since, depth});
    }
    if (lines.empty())
        return makeError(ErrorCode::Missing, QCoreApplication::translate("DepthTally", "井深记录中没有“时间 井深”数据行"));
    return lines;
}

QString tallyClockNote()
{
    return QCoreApplication::translate("DepthTally", "井场设有探管启动时间，记录中的时间按钟表时间计；若记录的是探管开机后的时间，请先清除井场的探管启动时间。");
}

TallyStop tallyStop(const SurveyData &survey, int first, int last, int representative)
{
    TallyStop stop;
    stop.begin = shotSeconds(survey, first);
    stop.end = shotSeconds(survey, last);
    stop.point = representative;
    const auto ticked = [&survey](int p) {
        return p >= 0 && p < survey.usablePointCount() && (survey.flags[static_cast<std::size_t>(p)] & PointFlag::Checked);
    };
    if (ticked(representative))
        return stop;
    int best = -1;
    for (int p = first; p <= last; ++p) {
        if (ticked(p) && (best < 0 || std::abs(p - representative) < std::abs(best - representative)))
            best = p;
    }
    if (best >= 0)
        stop.point = best;
    return stop;
}

std::vector<TallyStop> tallyStops(const SurveyData &survey, const std::vector<Stop> &stops)
{
    std::vector<TallyStop> out;
    out.reserve(stops.size());
    for (const Stop &s : stops)
        out.push_back(tallyStop(survey, s.firstPoint, s.lastPoint, s.representative));
    return out;
}

TallyAssignment assignTally(const std::vector<TallyLine> &lines, const SurveyData &survey, int windowSeconds)
{
    return assignTally(lines, tallyStops(survey, findStops(survey)), windowSeconds);
}

TallyAssignment assignTally(const std::vector<TallyLine> &lines, const std::vector<TallyStop> &stops, int windowSeconds)
{
    TallyAssignment out;
    const auto where = [](const TallyLine &l) { return QStringLiteral("%1 %2").arg(l.time, depthText(l.depth)); };
    // The stop each line goes to (-1: none), then the lines of each stop.
    std::vector<int> stopOf(lines.size(), -1);
    std::map<int, std::vector<std::size_t>> linesOf;
    std::vector<std::pair<int, QString>> problems; // by line, put in line order at the end
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::int64_t t = lines[i].seconds;
        int nearest = -1;
        std::int64_t distance = 0;
        for (std::size_t s = 0; s < stops.size(); ++s) {
            const TallyStop &stop = stops[s];
            const std::int64_t d = t < stop.begin ? stop.begin - t : t > stop.end ? t - stop.end : 0;
            if (nearest < 0 || d < distance) {
                nearest = static_cast<int>(s);
                distance = d;
            }
            if (d == 0)
                break;
        }
        if (nearest < 0 || distance > windowSeconds) {
            ++out.unmatched;
            problems.emplace_back(lines[i].line, QCoreApplication::translate("DepthTally", "第 %1 行（%2）：前后 %3 秒内没有测点停留，未使用")
                                                     .arg(lines[i].line)
                                                     .arg(where(lines[i]))
                                                     .arg(windowSeconds));
            continue;
        }
        stopOf[i] = nearest;
        linesOf[nearest].push_back(i);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (stopOf[i] < 0)
            continue;
        const std::vector<std::size_t> &same = linesOf[stopOf[i]];
        const TallyStop &stop = stops[static_cast<std::size_t>(stopOf[i])];
        if (same.size() == 1) {
            out.depths.push_back({stop.point, lines[i].depth, lines[i].line});
            continue;
        }
        ++out.shared;
        QStringList others;
        for (const std::size_t j : same) {
            if (j != i)
                others << QString::number(lines[j].line);
        }
        problems.emplace_back(lines[i].line, QCoreApplication::translate("DepthTally", "第 %1 行（%2）与第 %3 行落在同一个测点停留（测点 %4），均未使用")
                                                 .arg(lines[i].line)
                                                 .arg(where(lines[i]), others.join(QStringLiteral("、")))
                                                 .arg(stop.point));
    }
    std::stable_sort(problems.begin(), problems.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[line, text] : problems)
        out.problems << text;
    return out;
}

} // namespace zolm
