#include "output/export.h"

#include "platform/gbk.h"
#include "platform/settings.h"
#include "table/cell_text.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>

namespace zolm {

namespace {

constexpr const char *labels[ExportItemCount] = {
    "序号", "时间", "测深", "井斜", "磁方位", "重力工具面", "磁性工具面", "磁倾角",
    "探管温度", "总加速度", "总磁场", "井队号", "井号", "真方位", "磁偏角",
};

ExportSettings readSettings(SettingsStore &store, std::int32_t firstDefault)
{
    ExportSettings s;
    s.title = store.readInt(exportTitleKey(), 0) != 0;
    s.spaceSeparator = store.readInt(exportSeparatorKey(), 1) != 0;
    for (int id = 0; id < ExportItemCount; ++id) {
        std::int32_t def = -1;
        if (id == ItemDepth)
            def = firstDefault;
        else if (id == ItemInclination)
            def = firstDefault + 1;
        else if (id == ItemMagneticAzimuth)
            def = firstDefault + 2;
        s.positions[static_cast<std::size_t>(id)] = store.readInt(exportItemKey(id), def);
    }
    return s;
}

std::array<std::string, ExportItemCount> gbkLabels()
{
    std::array<std::string, ExportItemCount> a;
    for (int id = 0; id < ExportItemCount; ++id)
        a[static_cast<std::size_t>(id)] = toGbk(QString::fromUtf8(labels[id]));
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
    return id >= 0 && id < ExportItemCount ? QString::fromUtf8(labels[id]) : QString();
}

int exportItemId(const QString &label)
{
    for (int id = 0; id < ExportItemCount; ++id)
        if (label == QString::fromUtf8(labels[id]))
            return id;
    return -1;
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

void ExportFormatLists::store(SettingsStore &store) const
{
    const ExportSettings s = result();
    store.writeInt(exportTitleKey(), s.title ? 1 : 0);
    store.writeInt(exportSeparatorKey(), s.spaceSeparator ? 1 : 0);
    for (int id = 0; id < ExportItemCount; ++id)
        store.writeInt(exportItemKey(id), -1);
    for (int id = 0; id < ExportItemCount; ++id)
        if (s.positions[static_cast<std::size_t>(id)] >= 0)
            store.writeInt(exportItemKey(id), s.positions[static_cast<std::size_t>(id)]);
}

std::string exportBytes(const SurveyData &survey, bool reversed, const ExportSettings &settings)
{
    const std::vector<int> cols = settings.columns();
    const std::int32_t top = settings.top();
    const char sep = settings.spaceSeparator ? ' ' : ',';
    const auto gbk = gbkLabels();
    const std::string crew = survey.header.crewNumber();
    const std::string well = survey.header.wellNumber();
    const double declination = survey.header.declination();

    std::string out;
    const int n = survey.usablePointCount();
    out.reserve(64 + static_cast<std::size_t>(n) * (cols.size() * 10 + 2));
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
    for (int k = 0; k < n; ++k) {
        const int i = reversed ? n - 1 - k : k;
        const auto pi = static_cast<std::size_t>(i);
        if (!(survey.flags[pi] & PointFlag::Shown))
            continue;
        const SurveyValues &v = survey.values[pi];
        for (const int id : cols) {
            switch (id) {
            case ItemSequence: appendInt(out, sequence, 4); break;
            case ItemTime: out += timeText(pointTime(survey, i)); break;
            case ItemDepth:
                out += survey.depth[pi] >= 0.01 ? formatNumber(survey.depth[pi], 5, 2, true) : formatNumber(0.0, 3, 2, true);
                break;
            case ItemInclination: out += formatNumber(v[Inclination], 5, 2, true); break;
            case ItemMagneticAzimuth: out += formatNumber(v[MagneticAzimuth], 5, 2, true); break;
            case ItemGravityToolface: out += formatNumber(v[GravityToolface], 5, 2, true); break;
            case ItemMagneticToolface: out += formatNumber(v[MagneticToolface], 5, 2, true); break;
            case ItemDip: out += formatNumber(v[MagneticDip], 5, 2, true); break;
            case ItemTemperature: out += formatNumber(v[Temperature], 5, 2, true); break;
            case ItemTotalGravity: out += formatNumber(v[TotalGravity], 5, 5, true); break;
            case ItemTotalField: out += formatNumber(v[TotalField], 5, 5, true); break;
            case ItemCrew: appendQuoted(out, crew); break;
            case ItemWell: appendQuoted(out, well); break;
            case ItemTrueAzimuth: out += formatNumber(v[MagneticAzimuth] + declination, 5, 2, true); break;
            case ItemDeclination: out += formatNumber(declination, 5, 2, true); break;
            default: break;
            }
            fieldEnd(id);
        }
        out += "\r\n";
        ++sequence;
    }
    return out;
}

bool writeExportFile(const QString &path, const std::string &bytes, QString *error)
{
    QSaveFile file(path);
    auto fail = [&](const QString &why) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("无法写入导出文件 %1：%2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace zolm
