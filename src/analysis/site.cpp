#include "analysis/site.h"

#include "platform/file_error.h"
#include "platform/gbk.h"
#include "platform/output_file.h"
#include "platform/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTimeZone>

#include <cmath>

namespace zolm {

namespace {

const char *const DateFormat = "yyyy-MM-dd";

QString siteMessage(const QString &path, const QString &why)
{
    return QCoreApplication::translate("Site", "井场文件 %1 无法读取，已忽略：%2").arg(QDir::toNativeSeparators(path), why);
}

Error refused(const QString &why)
{
    return makeError(ErrorCode::Refused, why);
}

// The label of a site text, translated at run time.
QString translated(const char *text)
{
    return QCoreApplication::translate("Site", text);
}

// Offsets and sizes as the survey header's site block lays them out.
constexpr SiteTextField TextFields[] = {
    {&Site::client, "client", "--client", QT_TRANSLATE_NOOP("Site", "客户"), 144, 40},
    {&Site::company, "company", "--company", QT_TRANSLATE_NOOP("Site", "公司"), 184, 40},
    {&Site::rig, "rig", "--rig", QT_TRANSLATE_NOOP("Site", "井队/钻机"), 224, 24},
    {&Site::oilField, "field", "--field", QT_TRANSLATE_NOOP("Site", "油田/区块"), 248, 24},
    {&Site::location, "location", "--location", QT_TRANSLATE_NOOP("Site", "位置"), 272, 40},
    {&Site::serviceCompany, "serviceCompany", "--service-company", QT_TRANSLATE_NOOP("Site", "服务公司"), 312, 40},
    {&Site::uwi, "uwi", "--uwi", QT_TRANSLATE_NOOP("Site", "井唯一编号"), 352, 24},
    {&Site::surveyor, "surveyor", "--surveyor", QT_TRANSLATE_NOOP("Site", "测量人"), 376, 16},
    {&Site::checkedBy, "checkedBy", "--checked-by", QT_TRANSLATE_NOOP("Site", "校核人"), 392, 16},
    {&Site::approvedBy, "approvedBy", "--approved-by", QT_TRANSLATE_NOOP("Site", "审核人"), 408, 16},
};

const char *const ProbeStartDate = "yyyy-MM-dd";
const char *const ProbeStartTime = "HH:mm:ss";

} // namespace

std::span<const SiteTextField> siteTextFields()
{
    return TextFields;
}

QString siteTextLabel(const SiteTextField &field)
{
    return translated(field.label);
}

Done checkSiteText(const SiteTextField &field, const QString &text)
{
    // A line break would split a report's or a LAS file's line; a zero byte would end the text.
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return refused(QCoreApplication::translate("Site", "%1不能含有换行等控制字符").arg(siteTextLabel(field)));
    }
    if (const auto bad = firstCharNotInGbk(text))
        return refused(QCoreApplication::translate("Site", "%1中的字符“%2”无法保存在文件中，请换用其他字符。").arg(siteTextLabel(field), *bad));
    if (toGbk(text).size() > field.maxBytes())
        return refused(QCoreApplication::translate("Site", "%1最多 %2 个字节（一个汉字占两个字节）").arg(siteTextLabel(field)).arg(field.maxBytes()));
    return {};
}

QString probeStartText(const QDateTime &start)
{
    return start.date().toString(QString::fromLatin1(ProbeStartDate)) + QLatin1Char(' ')
        + start.time().toString(QString::fromLatin1(ProbeStartTime));
}

std::optional<QDateTime> parseProbeStart(const QString &text)
{
    if (text.size() != 19 || text[10] != QLatin1Char(' '))
        return std::nullopt;
    const QDate d = QDate::fromString(text.left(10), QString::fromLatin1(ProbeStartDate));
    const QTime t = QTime::fromString(text.mid(11), QString::fromLatin1(ProbeStartTime));
    if (!d.isValid() || !t.isValid())
        return std::nullopt;
    return QDateTime(d, t, QTimeZone::utc());
}

QString siteFilePath(const QString &documentPath)
{
    return documentPath + QStringLiteral(".site");
}

Done checkSite(const Site &site)
{
    if (!std::isfinite(site.height) || site.height < SiteRange::MinHeight || site.height > SiteRange::MaxHeight)
        return refused(QCoreApplication::translate("Site", "高度必须在 -1000 到 10000 米之间"));
    if (site.verticalSectionAzimuth
        && !(*site.verticalSectionAzimuth >= 0 && *site.verticalSectionAzimuth <= 360))
        return refused(QCoreApplication::translate("Site", "视平移方位必须在 0 到 360 之间"));
    if (!site.date.isValid())
        return refused(QCoreApplication::translate("Site", "日期无效"));
    if (site.fieldScale && !(*site.fieldScale > 0 && *site.fieldScale <= SiteRange::MaxFieldScale))
        return refused(QCoreApplication::translate("Site", "磁场标定系数必须大于 0，且不超过 %1").arg(SiteRange::MaxFieldScale, 0, 'f', 0));
    if (site.dogLegLimit && !(*site.dogLegLimit > 0 && *site.dogLegLimit <= SiteRange::MaxDogLegLimit))
        return refused(QCoreApplication::translate("Site", "狗腿度限值必须大于 0，且不超过 %1 °/30m").arg(SiteRange::MaxDogLegLimit, 0, 'f', 0));
    if (site.probeStart && (!site.probeStart->isValid() || site.probeStart->date().year() < 1))
        return refused(QCoreApplication::translate("Site", "探管启动时间无效"));
    for (const SiteTextField &f : TextFields) {
        if (Done text = checkSiteText(f, site.*f.member); !text)
            return text;
    }
    if (const auto field = geomagneticField({site.latitude, site.longitude, site.height}, decimalYear(site.date)); !field)
        return field.error();
    return {};
}

Result<GeomagneticField> siteField(const Site &site)
{
    if (Done checked = checkSite(site); !checked)
        return checked.error();
    return geomagneticField({site.latitude, site.longitude, site.height}, decimalYear(site.date));
}

std::optional<GeomagneticField> siteModelField(const std::optional<Site> &site)
{
    if (!site)
        return std::nullopt;
    const Result<GeomagneticField> field = siteField(*site);
    return field ? std::optional(*field) : std::nullopt;
}

QByteArray siteJson(const Site &site, bool compact)
{
    QJsonObject o;
    o.insert(QStringLiteral("latitude"), site.latitude);
    o.insert(QStringLiteral("longitude"), site.longitude);
    o.insert(QStringLiteral("height"), site.height);
    o.insert(QStringLiteral("date"), site.date.toString(QString::fromLatin1(DateFormat)));
    if (site.verticalSectionAzimuth)
        o.insert(QStringLiteral("verticalSectionAzimuth"), *site.verticalSectionAzimuth);
    if (site.fieldScale)
        o.insert(QStringLiteral("fieldScale"), *site.fieldScale);
    if (site.dogLegLimit)
        o.insert(QStringLiteral("dogLegLimit"), *site.dogLegLimit);
    if (site.probeStart)
        o.insert(QStringLiteral("probeStart"), probeStartText(*site.probeStart));
    for (const SiteTextField &f : TextFields) {
        if (!(site.*f.member).isEmpty())
            o.insert(QString::fromLatin1(f.key), site.*f.member);
    }
    return QJsonDocument(o).toJson(compact ? QJsonDocument::Compact : QJsonDocument::Indented);
}

Result<Site> parseSite(const QByteArray &json)
{
    auto fail = [](const QString &why) -> Result<Site> { return makeError(ErrorCode::WrongFile, why); };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(json.trimmed().isEmpty() ? QCoreApplication::translate("Site", "文件是空的") : QCoreApplication::translate("Site", "不是有效的 JSON（%1）").arg(parse.errorString()));
    if (!doc.isObject())
        return fail(QCoreApplication::translate("Site", "不是 JSON 对象"));
    const QJsonObject o = doc.object();
    Site s;
    const QJsonValue lat = o.value(QStringLiteral("latitude"));
    const QJsonValue lon = o.value(QStringLiteral("longitude"));
    const QJsonValue date = o.value(QStringLiteral("date"));
    const QJsonValue height = o.value(QStringLiteral("height"));
    const QJsonValue vs = o.value(QStringLiteral("verticalSectionAzimuth"));
    if (!lat.isDouble() || !lon.isDouble())
        return fail(QCoreApplication::translate("Site", "纬度和经度必须是数字"));
    if (!date.isString())
        return fail(QCoreApplication::translate("Site", "缺少日期"));
    if (!height.isUndefined() && !height.isDouble())
        return fail(QCoreApplication::translate("Site", "高度必须是数字"));
    if (!vs.isUndefined() && !vs.isDouble())
        return fail(QCoreApplication::translate("Site", "视平移方位必须是数字"));
    s.latitude = lat.toDouble();
    s.longitude = lon.toDouble();
    s.height = height.toDouble(0.0);
    const QString dateText = date.toString();
    s.date = QDate::fromString(dateText, QString::fromLatin1(DateFormat));
    if (dateText.size() != 10 || !s.date.isValid())
        return fail(QCoreApplication::translate("Site", "日期 \"%1\" 不是 YYYY-MM-DD 格式的日期").arg(dateText));
    if (vs.isDouble())
        s.verticalSectionAzimuth = vs.toDouble();
    const QJsonValue scale = o.value(QStringLiteral("fieldScale"));
    const QJsonValue dogLeg = o.value(QStringLiteral("dogLegLimit"));
    const QJsonValue start = o.value(QStringLiteral("probeStart"));
    if (!scale.isUndefined() && !scale.isDouble())
        return fail(QCoreApplication::translate("Site", "磁场标定系数必须是数字"));
    if (!dogLeg.isUndefined() && !dogLeg.isDouble())
        return fail(QCoreApplication::translate("Site", "狗腿度限值必须是数字"));
    if (scale.isDouble())
        s.fieldScale = scale.toDouble();
    if (dogLeg.isDouble())
        s.dogLegLimit = dogLeg.toDouble();
    if (!start.isUndefined()) {
        s.probeStart = parseProbeStart(start.toString());
        if (!s.probeStart)
            return fail(QCoreApplication::translate("Site", "探管启动时间 \"%1\" 不是 YYYY-MM-DD HH:MM:SS 格式").arg(start.toString()));
    }
    for (const SiteTextField &f : TextFields) {
        const QJsonValue text = o.value(QString::fromLatin1(f.key));
        if (!text.isUndefined() && !text.isString())
            return fail(QCoreApplication::translate("Site", "%1必须是文字").arg(siteTextLabel(f)));
        s.*f.member = text.toString();
    }
    if (Done checked = checkSite(s); !checked)
        return fail(checked.error().message);
    return s;
}

Result<std::optional<Site>> readSite(const QString &documentPath)
{
    const QString path = siteFilePath(documentPath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::optional<Site>();
    if (info.isDir())
        return makeError(ErrorCode::ReadFailed, siteMessage(path, QCoreApplication::translate("Site", "这是一个文件夹")));
    // A FIFO would hold the program until someone wrote to it, a device would be read as a site.
    if (info.exists() && !info.isFile())
        return makeError(ErrorCode::ReadFailed, siteMessage(path, QCoreApplication::translate("Site", "这不是普通文件")));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return makeError(ErrorCode::ReadFailed, siteMessage(path, fileErrorReason(f)), f.errorString());
    // A site file is a few lines; anything much larger is not one.
    const QByteArray bytes = f.read(64 * 1024 + 1);
    if (bytes.size() > 64 * 1024)
        return makeError(ErrorCode::WrongFile, siteMessage(path, QCoreApplication::translate("Site", "文件过大")));
    const Result<Site> site = parseSite(bytes);
    if (!site)
        return site.error().retold(siteMessage(path, site.error().message));
    return std::optional(*site);
}

Done writeSite(const QString &documentPath, const Site &site)
{
    const QString path = siteFilePath(documentPath);
    auto retold = [&](const Error &error) {
        return error.retold(QCoreApplication::translate("Site", "无法写入井场文件 %1：%2").arg(QDir::toNativeSeparators(path), error.message));
    };
    if (Done checked = checkSite(site); !checked)
        return retold(checked.error());
    if (Done written = writeOutput(path, siteJson(site)); !written)
        return retold(written.error());
    return {};
}

std::optional<Site> lastSite(SettingsStore &store)
{
    const QString key = QStringLiteral("LastSite");
    if (!store.contains(key))
        return std::nullopt;
    const Result<Site> site = parseSite(store.readString(key, {}).toUtf8());
    return site ? std::optional(*site) : std::nullopt;
}

bool storeLastSite(SettingsStore &store, const Site &site)
{
    return store.writeString(QStringLiteral("LastSite"), QString::fromUtf8(siteJson(site, true)));
}

} // namespace zolm
