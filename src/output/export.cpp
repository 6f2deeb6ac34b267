#include "output/export.h"


#include "platform/gbk.h"
#include "platform/output_file.h"
#include "platform/settings.h"
#include "table/cell_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>

namespace zolm {

namespace {

const char *label(int id)
{
    return Quantities[static_cast<std::size_t>(id)].label;
}

ExportSettings readSettings(SettingsStore &store, std::int32_t firstDefault)
{
    ExportSettings s;
    s.title = store.readInt(exportTitleKey(), 0) != 0;
    s.spaceSeparator = store.readInt(exportSeparatorKey(), 1) != 0;
    for (int id = 0; id < ExportItemCount; ++id) {
        const int place = Quantities[static_cast<std::size_t>(id)].exportDefault;
        const std::int32_t def = place < 0 ? -1 : firstDefault + place;
        s.positions[static_cast<std::size_t>(id)] = store.readInt(exportItemKey(id), def);
    }
    return s;
}

std::array<std::string, ExportItemCount> gbkLabels()
{
    std::array<std::string, ExportItemCount> a;
    for (int id = 0; id < ExportItemCount; ++id)
        a[static_cast<std::size_t>(id)] = toGbk(QString::fromUtf8(label(id)));
    return a;
}

void appendInt(std::string &out, long long v, int width)
{
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%*lld", width, v);
    out.append(buf, static_cast<std::size_t>(n));
}

void appendQuoted(std::string &out, const std::string &text)
{
    // Copied byte for byte: a '%' in a crew number is just a '%'.
    out += '"';
    out += text;
    out += '"';
}

} // namespace

QString exportItemLabel(int id)
{
    return id >= 0 && id < ExportItemCount ? QString::fromUtf8(label(id)) : QString();
}

int exportItemId(const QString &text)
{
    for (int id = 0; id < ExportItemCount; ++id)
        if (text == QString::fromUtf8(label(id)))
            return id;
    return -1;
}

int exportItemIdByName(const QString &name)
{
    if (const int id = exportItemId(name); id >= 0)
        return id;
    for (int id = 0; id < ExportItemCount; ++id)
        if (name == QLatin1String(Quantities[static_cast<std::size_t>(id)].english))
            return id;
    return -1;
}

QString exportItemNames()
{
    QStringList names;
    for (int id = 0; id < ExportItemCount; ++id)
        names << QString::fromLatin1(Quantities[static_cast<std::size_t>(id)].english);
    return names.join(QStringLiteral(", "));
}

QString exportTitleKey()
{
    return QStringLiteral("export/TitleCheck");
}

QString exportSeparatorKey()
{
    return QStringLiteral("export/SeperatorRadio");
}

QString exportItemKey(int id)
{
    return QStringLiteral("export/") + exportItemLabel(id);
}

ExportSettings ExportSettings::readForDialog(SettingsStore &store)
{
    return readSettings(store, 0);
}

ExportSettings ExportSettings::readForExport(SettingsStore &store)
{
    return readSettings(store, 1);
}

std::vector<int> ExportSettings::columns() const
{
    std::vector<int> cols;
    for (std::int32_t place = 0; place < ExportItemCount; ++place) {
        for (int id = 0; id < ExportItemCount; ++id) {
            if (positions[static_cast<std::size_t>(id)] == place) {
                cols.push_back(id);
                break;
            }
        }
    }
    return cols;
}

std::int32_t ExportSettings::top() const
{
    return std::max<std::int32_t>(0, *std::max_element(positions.begin(), positions.end()));
}

ExportFormatLists::ExportFormatLists(const ExportSettings &settings)
    : title(settings.title), spaceSeparator(settings.spaceSeparator)
{
    for (int id = 0; id < ExportItemCount; ++id)
        if (settings.positions[static_cast<std::size_t>(id)] >= 0)
            m_chosen.push_back(id);
    std::stable_sort(m_chosen.begin(), m_chosen.end(), [&](int a, int b) {
        return settings.positions[static_cast<std::size_t>(a)] < settings.positions[static_cast<std::size_t>(b)];
    });
}

std::vector<int> ExportFormatLists::available() const
{
    std::vector<int> ids;
    for (int id = 0; id < ExportItemCount; ++id)
        if (std::find(m_chosen.begin(), m_chosen.end(), id) == m_chosen.end())
            ids.push_back(id);
    return ids;
}

void ExportFormatLists::add(const std::vector<int> &availableIndices)
{
    const std::vector<int> avail = available();
    std::vector<int> sel = availableIndices;
    std::sort(sel.begin(), sel.end());
    sel.erase(std::unique(sel.begin(), sel.end()), sel.end());
    for (const int i : sel)
        if (i >= 0 && i < static_cast<int>(avail.size()))
            m_chosen.push_back(avail[static_cast<std::size_t>(i)]);
}

void ExportFormatLists::remove(const std::vector<int> &chosenIndices)
{
    std::vector<int> keep;
    for (std::size_t i = 0; i < m_chosen.size(); ++i)
        if (std::find(chosenIndices.begin(), chosenIndices.end(), static_cast<int>(i)) == chosenIndices.end())
            keep.push_back(m_chosen[i]);
    m_chosen = std::move(keep);
}

std::optional<int> ExportFormatLists::up(const std::vector<int> &chosenIndices)
{
    if (chosenIndices.size() != 1)
        return std::nullopt;
    const int i = chosenIndices.front();
    if (i <= 0 || i >= static_cast<int>(m_chosen.size()))
        return std::nullopt;
    std::swap(m_chosen[static_cast<std::size_t>(i)], m_chosen[static_cast<std::size_t>(i - 1)]);
    return i - 1;
}

std::optional<int> ExportFormatLists::down(const std::vector<int> &chosenIndices)
{
    if (m_chosen.size() < 2 || chosenIndices.size() != 1)
        return std::nullopt;
    const int i = chosenIndices.front();
    if (i < 0 || i >= static_cast<int>(m_chosen.size()) - 1)
        return std::nullopt;
    std::swap(m_chosen[static_cast<std::size_t>(i)], m_chosen[static_cast<std::size_t>(i + 1)]);
    return i + 1;
}

void ExportFormatLists::setChosen(std::vector<int> ids)
{
    m_chosen.clear();
    for (const int id : ids)
        if (id >= 0 && id < ExportItemCount && std::find(m_chosen.begin(), m_chosen.end(), id) == m_chosen.end())
            m_chosen.push_back(id);
}

ExportSettings ExportFormatLists::result() const
{
    ExportSettings s;
    s.title = title;
    s.spaceSeparator = spaceSeparator;
    s.positions.fill(-1);
    for (std::size_t i = 0; i < m_chosen.size(); ++i)
        s.positions[static_cast<std::size_t>(m_chosen[i])] = static_cast<std::int32_t>(i);
    return s;
}

bool ExportFormatLists::store(SettingsStore &store) const
{
    const ExportSettings s = result();
    bool stored = store.writeInt(exportTitleKey(), s.title ? 1 : 0);
    stored = store.writeInt(exportSeparatorKey(), s.spaceSeparator ? 1 : 0) && stored;
    for (int id = 0; id < ExportItemCount; ++id)
        stored = store.writeInt(exportItemKey(id), -1) && stored;
    for (int id = 0; id < ExportItemCount; ++id)
        if (s.positions[static_cast<std::size_t>(id)] >= 0)
            stored = store.writeInt(exportItemKey(id), s.positions[static_cast<std::size_t>(id)]) && stored;
    return stored;
}

std::string exportBytes(const SurveyData &survey, const std::vector<int> &rowPoints, const ExportSettings &settings)
{
    const std::vector<int> cols = settings.columns();
    const std::int32_t top = settings.top();
    const char sep = settings.spaceSeparator ? ' ' : ',';
    const auto gbk = gbkLabels();
    const std::string crew = survey.header.crewNumber();
    const std::string well = survey.header.wellNumber();
    const double declination = survey.header.declination();

    std::string out;
    out.reserve(64 + rowPoints.size() * (cols.size() * 10 + 2));
    // Each field is followed by the separator unless its place is the top one, so a position
    // above 14 leaves a separator after every field.
    auto fieldEnd = [&](int id) {
        if (settings.positions[static_cast<std::size_t>(id)] != top)
            out += sep;
    };

    if (settings.title) {
        for (const int id : cols) {
            out += gbk[static_cast<std::size_t>(id)];
            fieldEnd(id);
        }
        out += "\r\n";
    }
    for (const int id : cols) {
        out += "0.0";
        fieldEnd(id);
    }
    out += "\r\n";

    int sequence = 0;
    for (const int i : rowPoints) {
        if (i < 0 || i >= MaxSurveyPoints)
            continue;
        const auto pi = static_cast<std::size_t>(i);
        const SurveyValues &v = survey.values[pi];
        for (const int id : cols) {
            const QuantityInfo &q = Quantities[static_cast<std::size_t>(id)];
            switch (q.source) {
            case ValueSource::RowNumber: appendInt(out, sequence, 4); break;
            case ValueSource::Time: out += timeText(pointTime(survey, i)); break;
            case ValueSource::Depth:
                out += survey.depth[pi] >= MinEnteredDepth ? formatNumber(survey.depth[pi], 5, q.decimals, true)
                                                : formatNumber(0.0, 3, q.decimals, true);
                break;
            case ValueSource::Crew: appendQuoted(out, crew); break;
            case ValueSource::Well: appendQuoted(out, well); break;
            case ValueSource::PointValue:
                out += formatNumber(v[static_cast<std::size_t>(q.valueIndex)], 5, q.decimals, true);
                break;
            case ValueSource::TrueAzimuth:
                out += formatNumber(v[MagneticAzimuth] + declination, 5, q.decimals, true);
                break;
            case ValueSource::Declination: out += formatNumber(declination, 5, q.decimals, true); break;
            }
            fieldEnd(id);
        }
        out += "\r\n";
        ++sequence;
    }
    return out;
}

Done writeExportFile(const QString &path, const std::string &bytes)
{
    Done written = writeOutput(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (written)
        return written;
    return written.error().retold(
        QCoreApplication::translate("Output", "无法写入导出文件 %1：%2").arg(QDir::toNativeSeparators(path), written.error().message));
}

} // namespace zolm
