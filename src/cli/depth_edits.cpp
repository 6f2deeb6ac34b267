// edit's depth commands that can replace depths entered before: automatic depth in either
// direction, and the driller's tally matched to the probe's stops.
#include "cli/cli.h"
#include "cli/opened_table.h"

#include "analysis/depth_tally.h"
#include "analysis/site.h"
#include "table/survey_table.h"

#include <QDir>
#include <QFile>

namespace zolm::cli {

std::optional<TableChange> autoDepthEdit(SurveyTable &table, const QString &start, const QString &length,
                                         DepthDirection direction, bool force)
{
    // The fields are checked first, with the dialog's messages; then what would be replaced.
    const NumberCheck from = checkNumber(start, Range::StartDepth);
    const NumberCheck step = checkNumber(length, Range::CourseLength);
    if (!force && table.autoDepthRefusal() && from.value && step.value) {
        const std::vector<int> replaced = table.autoDepthOverwrites(*from.value, *step.value, direction);
        if (!replaced.empty()) {
            printErr(depthOverwriteRefusal(replaced) + QLatin1Char('\n'));
            return std::nullopt;
        }
    }
    return table.autoDepth(start, length, direction);
}

bool tallyEdit(SurveyTable &table, const std::optional<Site> &site, const std::string &tallyFile, int window, bool force)
{
    const QString path = fileArg(tallyFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printErr(QCoreApplication::translate("zolm-cli", "无法读取井深记录 %1：%2\n").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    const auto lines = parseTally(file.readAll(), site ? site->probeStart : std::nullopt);
    if (!lines) {
        printErr(QStringLiteral("%1: %2\n").arg(QDir::toNativeSeparators(path), lines.error().message));
        return false;
    }
    const SurveyData &survey = table.document().survey();
    const TallyAssignment a = assignTally(*lines, survey, window);
    for (const QString &problem : a.problems)
        printErr(QCoreApplication::translate("zolm-cli", "井深记录%1\n").arg(problem));
    if (a.depths.empty()) {
        printErr(QCoreApplication::translate("zolm-cli", "井深记录 %1 没有一行对应到探管的停留，未作修改\n").arg(QDir::toNativeSeparators(path))
                 + (site && site->probeStart ? tallyClockNote() + QLatin1Char('\n') : QString()));
        return false;
    }
    std::vector<int> replaced;
    for (const TallyDepth &d : a.depths) {
        if (table.depthWouldChange(d.point, d.depth))
            replaced.push_back(d.point);
    }
    if (!replaced.empty() && !force) {
        printErr(depthOverwriteRefusal(replaced) + QLatin1Char('\n'));
        return false;
    }
    for (const TallyDepth &d : a.depths)
        table.setPointDepth(d.point, d.depth);
    printErr(QCoreApplication::translate("zolm-cli", "井深记录 %1：%2 行中 %3 行已填入井深\n")
                 .arg(QDir::toNativeSeparators(path))
                 .arg(lines->size())
                 .arg(a.depths.size()));
    return true;
}

} // namespace zolm::cli
