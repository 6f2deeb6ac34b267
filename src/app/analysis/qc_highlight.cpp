#include "app/analysis/qc_highlight.h"

#include "session/survey_session.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace zolm::app {

namespace {

QString signedNumber(double v, int decimals)
{
    return (v >= 0 ? QStringLiteral("+") : QString()) + QString::number(v, 'f', decimals);
}

// "总磁场 0.55312，偏差 +0.00412（容差 ±0.00300）", or why there is no difference.
QString quantityLine(const char *name, double value, double reference, double delta, double tolerance, int decimals)
{
    // The quantity's export label, as the table of quantities marks it for translation.
    const QString label = QCoreApplication::translate("Quantity", name);
    if (!std::isfinite(value))
        return QCoreApplication::translate("QcHighlight", "%1 不是数字").arg(label);
    if (!std::isfinite(reference))
        return QCoreApplication::translate("QcHighlight", "%1 没有参考值").arg(label);
    return QCoreApplication::translate("QcHighlight", "%1 %2，偏差 %3（容差 ±%4）")
        .arg(label, QString::number(value, 'f', decimals), signedNumber(delta, decimals),
             QString::number(tolerance, 'f', decimals));
}

} // namespace

QColor qcFailColour()
{
    return QColor(255, 205, 205);
}

QString qcToolTip(const QcPoint &q, const QcReference &reference, const QcTolerance &tolerance)
{
    if (q.pass())
        return {};
    // Against the model the field scale decides the total field's reference, so it is named.
    const QString source = reference.source == QcReference::Source::Site
                               ? QCoreApplication::translate("QcHighlight", "井场地磁模型，磁场标定系数 %1")
                                     .arg(QString::number(reference.fieldScale, 'f', 4))
                               : QCoreApplication::translate("QcHighlight", "测量数据中值");
    QStringList lines{QCoreApplication::translate("QcHighlight", "质量检查不合格（参考：%1）").arg(source)};
    for (const QcQuantityInfo &k : QcQuantities)
        if (q.failed & k.bit)
            lines << quantityLine(quantityInfo(k.quantity).label, q.*k.value, reference.*k.reference, q.*k.delta,
                                  tolerance.*k.tolerance, k.tipDecimals);
    return lines.join(QLatin1Char('\n'));
}

QcHighlight::QcHighlight()
{
    m_index.fill(-1);
}

void QcHighlight::refresh(const SurveyData &survey, const std::optional<Site> &site, const QcTolerance &tolerance,
                          double fieldScale)
{
    judgeSurvey(survey, site, fieldScale, tolerance, m_qc);
    m_index.fill(-1);
    for (std::size_t i = 0; i < m_qc.points.size(); ++i)
        m_index[static_cast<std::size_t>(m_qc.points[i].point)] = static_cast<std::int16_t>(i);
}

void QcHighlight::clear()
{
    m_qc.points.clear();
    m_index.fill(-1);
}

const QcPoint *QcHighlight::result(int point) const
{
    if (point < 0 || point >= MaxSurveyPoints)
        return nullptr;
    const int i = m_index[static_cast<std::size_t>(point)];
    return i < 0 ? nullptr : &m_qc.points[static_cast<std::size_t>(i)];
}

std::optional<QColor> QcHighlight::background(int point) const
{
    const QcPoint *q = result(point);
    if (!q || q->pass())
        return std::nullopt;
    return qcFailColour();
}

QString QcHighlight::toolTip(int point) const
{
    const QcPoint *q = result(point);
    return q ? qcToolTip(*q, m_qc.reference, m_qc.tolerance) : QString();
}

} // namespace zolm::app
