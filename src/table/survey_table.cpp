#include "table/survey_table.h"

#include "platform/gbk.h"

#include <algorithm>
#include <cmath>

namespace zolm {

namespace {

// A dialog value was refused: the dialog stays open with the message.
TableChange refusal(const QString &message)
{
    TableChange c;
    c.outcome = CommandOutcome::Refused;
    c.message = message;
    return c;
}

// A message box instead of the command; nothing changed.
TableChange information(const QString &message)
{
    TableChange c;
    c.outcome = CommandOutcome::Informed;
    c.message = message;
    return c;
}

} // namespace

const char *columnHeader(int column)
{
    return column > CheckColumn && column < TableColumnCount ? quantityInfo(columnQuantity(column)).table : "";
}

int columnWidth(int column)
{
    if (column == CheckColumn)
        return CheckColumnWidth;
    return column > CheckColumn && column < TableColumnCount ? quantityInfo(columnQuantity(column)).tableWidth : 0;
}

const char *displayModeName(DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::HideChecked: return "hide-checked";
    case DisplayMode::OnlyChecked: return "only-checked";
    case DisplayMode::AllPoints: break;
    }
    return "all";
}

std::optional<DisplayMode> displayModeFromName(const std::string &name)
{
    if (name == "all")
        return DisplayMode::AllPoints;
    if (name == "hide-checked")
        return DisplayMode::HideChecked;
    if (name == "only-checked")
        return DisplayMode::OnlyChecked;
    return std::nullopt;
}

int SurveyTable::pointForRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return m_rows[static_cast<std::size_t>(row)];
}

int SurveyTable::rowForPoint(int point) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), point);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

std::string SurveyTable::cellText(int row, int column) const
{
    const int p = pointForRow(row);
    if (p < 0 || p >= MaxSurveyPoints || column <= CheckColumn)
        return {};
    return zolm::cellText(survey(), row, p, column);
}

bool SurveyTable::isChecked(int point) const
{
    return (survey().flags[static_cast<std::size_t>(point)] & PointFlag::Checked) != 0;
}

void SurveyTable::setChecked(int point, bool checked)
{
    auto &f = survey().flags[static_cast<std::size_t>(point)];
    f = checked ? (f | PointFlag::Checked) : (f & ~PointFlag::Checked);
}

bool SurveyTable::isRowChecked(int row) const
{
    const int p = pointForRow(row);
    return p >= 0 && isChecked(p);
}

void SurveyTable::setHighlightedRow(int row)
{
    m_highlight = (row >= 0 && row < rowCount()) ? row : -1;
}

TableChange SurveyTable::markModified(TableChange c)
{
    m_doc.setModified(true);
    c.markedModified = true;
    return c;
}

void SurveyTable::normaliseHeaderForShowing()
{
    survey().header.terminateTextFields();
    clearOutOfRangeDeclination();
}

RefillResult SurveyTable::refillTable()
{
    RefillResult r;
    SurveyData &s = survey();
    if (!m_doc.holdsData() || s.pointCount == 0)
        return r;
    r.filled = true;
    normaliseHeaderForShowing();
    r.crewCaption = crewCaption(crewText());
    r.wellCaption = wellCaption(wellText());
    r.declinationCaption = declinationCaption(s.header.declination());

    m_mode = DisplayMode::AllPoints;
    m_reversed = false;
    m_rows.clear();
    const int n = pointCount();
    m_rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        s.flags[static_cast<std::size_t>(i)] |= PointFlag::Shown;
        buildRow(i, i);
    }
    m_highlight = n > 0 ? 0 : -1;
    return r;
}

void SurveyTable::buildRow(int position, int point)
{
    position = std::clamp(position, 0, rowCount());
    m_rows.insert(m_rows.begin() + position, point);
}

TableChange SurveyTable::showPoints(DisplayMode mode)
{
    m_mode = mode;
    m_rows.clear();
    SurveyData &s = survey();
    const int n = pointCount();
    for (int i = 0; i < n; ++i) {
        auto &f = s.flags[static_cast<std::size_t>(i)];
        const bool checked = (f & PointFlag::Checked) != 0;
        const bool gets = mode == DisplayMode::AllPoints || (mode == DisplayMode::HideChecked ? !checked : checked);
        if (gets) {
            f |= PointFlag::Shown;
            buildRow(rowCount(), i);
        } else {
            f &= ~PointFlag::Shown;
        }
    }
    m_highlight = -1;
    // The rows were built ascending; keep the order the table states.
    if (m_reversed)
        sortRows(true);
    TableChange c;
    c.rowsRebuilt = true;
    return c;
}

void SurveyTable::sortRows(bool descending)
{
    if (descending)
        std::sort(m_rows.begin(), m_rows.end(), std::greater<>());
    else
        std::sort(m_rows.begin(), m_rows.end());
}

TableChange SurveyTable::reverseOrder()
{
    const int highlightedPoint = pointForRow(m_highlight);
    sortRows(!m_reversed);
    m_reversed = !m_reversed;
    // The highlight belongs to the row's item, so it moves with its point.
    m_highlight = highlightedPoint >= 0 ? rowForPoint(highlightedPoint) : -1;
    TableChange c;
    c.rowsRebuilt = true;
    return c;
}

TableChange SurveyTable::setRowChecked(int row, bool checked)
{
    return setPointChecked(pointForRow(row), checked);
}

TableChange SurveyTable::allRowsChanged(bool markModifiedToo)
{
    TableChange c;
    c.changedRows.resize(m_rows.size());
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        c.changedRows[r] = static_cast<int>(r);
    return markModifiedToo ? markModified(std::move(c)) : c;
}

TableChange SurveyTable::checkAll()
{
    for (const int p : m_rows)
        setChecked(p, true);
    return allRowsChanged(true);
}

TableChange SurveyTable::checkNone()
{
    for (const int p : m_rows)
        setChecked(p, false);
    return allRowsChanged(true);
}

TableChange SurveyTable::invertChecks()
{
    for (const int p : m_rows)
        setChecked(p, !isChecked(p));
    return allRowsChanged(true);
}

Done SurveyTable::autoDepthRefusal() const
{
    const int n = pointCount();
    for (int i = 0; i < n; ++i)
        if (isChecked(i))
            return {};
    return makeError(ErrorCode::Missing, autoDepthNothingCheckedMessage());
}

TableChange SurveyTable::autoDepth(const QString &startText, const QString &lengthText, DepthDirection direction)
{
    // Without a checked point the dialog never opens, so its fields are not looked at.
    if (Done refusal = autoDepthRefusal(); !refusal)
        return information(refusal.error().message);
    const NumberCheck start = checkNumber(startText, Range::StartDepth);
    const NumberCheck length = start.value ? checkNumber(lengthText, Range::CourseLength) : NumberCheck{};
    if (!start.value || !length.value) {
        return refusal(start.value ? length.message : start.message);
    }
    return autoDepth(*start.value, *length.value, direction);
}

template <typename F>
void SurveyTable::walkAutoDepth(double start, double length, DepthDirection direction, F f) const
{
    double d = start;
    const int n = pointCount();
    // Ascending point order, whatever the rows show: points follow the probe's clock, so the
    // direction says whether the probe went down or up the hole between shots.
    for (int i = 0; i < n; ++i) {
        if (!isChecked(i))
            continue;
        f(i, d);
        if (direction == DepthDirection::Down) {
            d -= length;
            if (d < 0.0)
                break;
        } else {
            d += length;
            if (d > Range::Depth.max)
                break;
        }
    }
}

TableChange SurveyTable::autoDepth(double start, double length, DepthDirection direction)
{
    if (Done refusal = autoDepthRefusal(); !refusal)
        return information(refusal.error().message);
    const int remembered = m_highlight;
    SurveyData &s = survey();
    walkAutoDepth(start, length, direction, [&s](int point, double d) { s.depth[static_cast<std::size_t>(point)] = d; });
    TableChange c = showPoints(m_mode);
    setHighlightedRow(remembered);
    return markModified(std::move(c));
}

std::vector<int> SurveyTable::autoDepthOverwrites(double start, double length, DepthDirection direction) const
{
    std::vector<int> points;
    walkAutoDepth(start, length, direction, [&](int point, double d) {
        if (depthWouldChange(point, d))
            points.push_back(point);
    });
    return points;
}

bool SurveyTable::depthWouldChange(int point, double depth) const
{
    if (point < 0 || point >= pointCount())
        return false;
    const double old = survey().depth[static_cast<std::size_t>(point)];
    return old >= MinEnteredDepth && !(std::fabs(old - depth) < 0.005);
}

TableChange SurveyTable::autoDepthCancelled()
{
    TableChange c;
    c.outcome = CommandOutcome::Cancelled;
    return markModified(std::move(c));
}

int SurveyTable::depthEntryRow() const
{
    return m_doc.holdsData() ? m_highlight : -1;
}

std::optional<double> SurveyTable::depthForDialog(int row) const
{
    const int p = pointForRow(row);
    if (p < 0 || p >= pointCount())
        return std::nullopt;
    return survey().depth[static_cast<std::size_t>(p)];
}

TableChange SurveyTable::enterDepth(int row, const QString &text)
{
    const int p = pointForRow(row);
    if (p < 0 || p >= pointCount())
        return {};
    const NumberCheck depth = checkNumber(text, Range::Depth);
    if (!depth.value) {
        return refusal(depth.message);
    }
    return setPointDepth(p, *depth.value);
}

TableChange SurveyTable::setPointDepth(int point, double depth)
{
    if (point < 0 || point >= pointCount())
        return {};
    survey().depth[static_cast<std::size_t>(point)] = depth;
    TableChange c;
    if (const int row = rowForPoint(point); row >= 0)
        c.changedRows.push_back(row);
    return markModified(std::move(c));
}

QString SurveyTable::crewText() const
{
    return fromGbk(survey().header.crewNumber());
}

QString SurveyTable::wellText() const
{
    return fromGbk(survey().header.wellNumber());
}

double SurveyTable::declinationForDialog() const
{
    const double d = survey().header.declination();
    return std::fabs(d) > Range::Declination.max ? 0.0 : d;
}

void SurveyTable::clearOutOfRangeDeclination()
{
    SurveyHeader &h = survey().header;
    if (std::fabs(h.declination()) > Range::Declination.max)
        h.setDeclination(0.0);
}

TableChange SurveyTable::editHeaderText(const QString &text, bool crew, QString *caption)
{
    const TextCheck t = checkHeaderText(text);
    if (!t.gbk)
        return refusal(t.message);
    SurveyHeader &h = survey().header;
    if (crew)
        h.setCrewNumber(*t.gbk);
    else
        h.setWellNumber(*t.gbk);
    if (caption)
        *caption = crew ? crewCaption(crewText()) : wellCaption(wellText());
    return markModified({});
}

TableChange SurveyTable::editCrew(const QString &text, QString *caption)
{
    return editHeaderText(text, true, caption);
}

TableChange SurveyTable::editWell(const QString &text, QString *caption)
{
    return editHeaderText(text, false, caption);
}

TableChange SurveyTable::editDeclination(const QString &text, QString *caption)
{
    clearOutOfRangeDeclination();
    const NumberCheck d = checkNumber(text, Range::Declination);
    if (!d.value) {
        return refusal(d.message);
    }
    survey().header.setDeclination(*d.value);
    if (caption)
        *caption = declinationCaption(*d.value);
    return markModified({});
}

TableChange SurveyTable::exportFormatClosed()
{
    return markModified({});
}

TableChange SurveyTable::setPointChecked(int point, bool checked)
{
    TableChange c;
    if (point < 0 || point >= pointCount() || isChecked(point) == checked)
        return c;
    setChecked(point, checked);
    if (const int row = rowForPoint(point); row >= 0)
        c.changedRows.push_back(row);
    return markModified(std::move(c));
}

} // namespace zolm
