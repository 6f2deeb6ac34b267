#pragma once
// The survey table's QC switch: for each point, the row colour and the tooltip that names
// what failed and by how much. The table's texts do not change.
#include "analysis/qc.h"
#include "analysis/site.h"
#include "document/survey_data.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zolm::app {

class QcHighlight {
public:
    QcHighlight();

    // Checks every shown point against the site's model, or the survey's medians without one.
    void refresh(const SurveyData &survey, const std::optional<Site> &site, const QcTolerance &tolerance = {},
                 double fieldScale = DefaultFieldScale);
    void clear();

    // The result for a point that has been checked, or null.
    const QcPoint *result(int point) const;
    // A failing point's row colour; none for a passing or unchecked point.
    std::optional<QColor> background(int point) const;
    // What failed and by how much ("" when the point passed or was not checked).
    QString toolTip(int point) const;

    const QcResult &qc() const { return m_qc; }

private:
    QcResult m_qc;
    std::array<std::int16_t, MaxSurveyPoints> m_index{}; // point -> index into m_qc.points, -1 none
};

// The tooltip for one point's result.
QString qcToolTip(const QcPoint &point, const QcReference &reference, const QcTolerance &tolerance);
// The colour of a failing row.
QColor qcFailColour();

} // namespace zolm::app
