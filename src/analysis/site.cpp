#include "analysis/site.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSaveFile>

#include <cmath>

namespace zolm {

namespace {

const char *const DateFormat = "yyyy-MM-dd";

QString siteMessage(const QString &path, const QString &why)
{
    return QStringLiteral("井场文件 %1 无法读取，已忽略：%2").arg(QDir::toNativeSeparators(path), why);
}

} // namespace

QString siteFilePath(const QString &documentPath)
{
    return documentPath + QStringLiteral(".site");
}

std::optional<QString> checkSite(const Site &site)
{
    QString error;
    if (!std::isfinite(site.height) || site.height < SiteRange::MinHeight || site.height > SiteRange::MaxHeight)
        return QStringLiteral("高度必须在 -1000 到 10000 米之间");
    if (site.verticalSectionAzimuth
        && !(*site.verticalSectionAzimuth >= 0 && *site.verticalSectionAzimuth <= 360))
        return QStringLiteral("视平移方位必须在 0 到 360 之间");
    if (!site.date.isValid())
        return QStringLiteral("日期无效");
    if (!geomagneticField({site.latitude, site.longitude, site.height}, decimalYear(site.date), &error))
        return error;
    return std::nullopt;
}

std::optional<GeomagneticField> siteField(const Site &site, QString *error)
{
    if (const auto why = checkSite(site)) {
        if (error)
            *error = *why;
        return std::nullopt;
    }
    return geomagneticField({site.latitude, site.longitude, site.height}, decimalYear(site.date), error);
}

QByteArray siteJson(const Site &site)
{
    QJsonObject o;
    o.insert(QStringLiteral("latitude"), site.latitude);
    o.insert(QStringLiteral("longitude"), site.longitude);
    o.insert(QStringLiteral("height"), site.height);
    o.insert(QStringLiteral("date"), site.date.toString(QString::fromLatin1(DateFormat)));
    if (site.verticalSectionAzimuth)
        o.insert(QStringLiteral("verticalSectionAzimuth"), *site.verticalSectionAzimuth);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<Site> parseSite(const QByteArray &json, QString *error)
{
    auto fail = [&](const QString &why) -> std::optional<Site> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(json.trimmed().isEmpty() ? QStringLiteral("文件是空的") : QStringLiteral("不是有效的 JSON（%1）").arg(parse.errorString()));
    if (!doc.isObject())
        return fail(QStringLiteral("不是 JSON 对象"));
    const QJsonObject o = doc.object();
    Site s;
    const QJsonValue lat = o.value(QStringLiteral("latitude"));
    const QJsonValue lon = o.value(QStringLiteral("longitude"));
    const QJsonValue date = o.value(QStringLiteral("date"));
    const QJsonValue height = o.value(QStringLiteral("height"));
    const QJsonValue vs = o.value(QStringLiteral("verticalSectionAzimuth"));
    if (!lat.isDouble() || !lon.isDouble())
        return fail(QStringLiteral("纬度和经度必须是数字"));
    if (!date.isString())
        return fail(QStringLiteral("缺少日期"));
    if (!height.isUndefined() && !height.isDouble())
        return fail(QStringLiteral("高度必须是数字"));
    if (!vs.isUndefined() && !vs.isDouble())
        return fail(QStringLiteral("视平移方位必须是数字"));
    s.latitude = lat.toDouble();
    s.longitude = lon.toDouble();
    s.height = height.toDouble(0.0);
    const QString dateText = date.toString();
    s.date = QDate::fromString(dateText, QString::fromLatin1(DateFormat));
    if (dateText.size() != 10 || !s.date.isValid())
        return fail(QStringLiteral("日期 \"%1\" 不是 YYYY-MM-DD 格式的日期").arg(dateText));
    if (vs.isDouble())
        s.verticalSectionAzimuth = vs.toDouble();
    if (const auto why = checkSite(s))
        return fail(*why);
    return s;
}

SiteRead readSite(const QString &documentPath)
{
    SiteRead r;
    const QString path = siteFilePath(documentPath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return r;
    if (info.isDir()) {
        r.error = siteMessage(path, QStringLiteral("这是一个文件夹"));
        return r;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = siteMessage(path, f.errorString());
        return r;
    }
    // A site file is a few lines; anything much larger is not one.
    const QByteArray bytes = f.read(64 * 1024 + 1);
    if (bytes.size() > 64 * 1024) {
        r.error = siteMessage(path, QStringLiteral("文件过大"));
        return r;
    }
    QString why;
    r.site = parseSite(bytes, &why);
    if (!r.site)
        r.error = siteMessage(path, why);
    return r;
}

bool writeSite(const QString &documentPath, const Site &site, QString *error)
{
    const QString path = siteFilePath(documentPath);
    QSaveFile f(path);
    auto fail = [&](const QString &why) {
        f.cancelWriting();
        if (error)
            *error = QStringLiteral("无法写入井场文件 %1：%2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    if (const auto why = checkSite(site))
        return fail(*why);
    if (!f.open(QIODevice::WriteOnly))
        return fail(f.errorString());
    const QByteArray bytes = siteJson(site);
    if (f.write(bytes) != bytes.size())
        return fail(f.errorString());
    if (!f.commit())
        return fail(f.errorString());
    return true;
}

bool removeSite(const QString &documentPath, QString *error)
{
    const QString path = siteFilePath(documentPath);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile f(path);
    if (info.isDir() || !f.remove()) {
        if (error)
            *error = QStringLiteral("无法删除井场文件 %1：%2")
                         .arg(QDir::toNativeSeparators(path), info.isDir() ? QStringLiteral("这是一个文件夹") : f.errorString());
        return false;
    }
    return true;
}

bool copySite(const QString &fromDocument, const QString &toDocument, QString *error, QString *warning)
{
    if (QFileInfo(fromDocument).absoluteFilePath() == QFileInfo(toDocument).absoluteFilePath())
        return true;
    const SiteRead from = readSite(fromDocument);
    if (warning)
        *warning = from.error;
    if (from.site)
        return writeSite(toDocument, *from.site, error);
    return removeSite(toDocument, error);
}

} // namespace zolm
