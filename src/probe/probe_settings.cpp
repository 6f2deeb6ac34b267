#include "probe/probe_settings.h"

#include "platform/number_text.h"
#include "platform/settings.h"

#include <limits>

#include <QCoreApplication>

namespace zolm::probe {

namespace {

QString keyMinutes() { return QStringLiteral("setuptime/DelayMin"); }
QString keySeconds() { return QStringLiteral("setuptime/DelaySec"); }
QString keyInterval() { return QStringLiteral("setuptime/Interval"); }

struct Range {
    std::int32_t low, high;
};
constexpr Range minutesRange{0, 1000};
constexpr Range secondsRange{0, 59};
constexpr Range intervalRange{1, 255};

QString rangeText(Range r)
{
    return QCoreApplication::translate("ProbeSettings", "请输入一个介于 %1 和 %2 之间的整数。").arg(r.low).arg(r.high);
}

} // namespace

ProbeSetup readStoredSetup(SettingsStore &store)
{
    ProbeSetup s;
    s.minutes = store.readInt(keyMinutes(), 1);
    s.seconds = store.readInt(keySeconds(), 0);
    s.interval = store.readInt(keyInterval(), 10);
    return s;
}

void storeSetup(SettingsStore &store, const ProbeSetup &setup)
{
    store.writeInt(keyMinutes(), setup.minutes);
    store.writeInt(keySeconds(), setup.seconds);
    store.writeInt(keyInterval(), setup.interval);
}

bool setupDiscardsData(int storedCount)
{
    return storedCount != 0;
}

QString discardWarningCaption()
{
    return QCoreApplication::translate("ProbeSettings", "警告");
}

QString discardWarningText()
{
    return QCoreApplication::translate("ProbeSettings", "探管中还存有以前采集的数据，设置探管会清除这些数据。\n\n是否继续?\n\n"
                          "选择YES将清除数据，\n\n选择NO将不会清除数据。");
}

std::optional<SetupRefusal> validateSetup(const ProbeSetup &setup)
{
    const QString caption = QCoreApplication::translate("ProbeSettings", "错误输入");
    // In 64 bits: minutes far outside their range must not wrap into a valid delay.
    const long long delay = static_cast<long long>(setup.minutes) * 60 + setup.seconds;
    if (delay < 5)
        return SetupRefusal{caption, QCoreApplication::translate("ProbeSettings", "延时最小不能小于 5 秒钟!")};
    if (setup.interval < 1)
        return SetupRefusal{caption, QCoreApplication::translate("ProbeSettings", "时间间隔最小不能小于 1 秒钟!")};
    const auto outside = [](std::int32_t v, Range r) { return v < r.low || v > r.high; };
    // The range checks carry no caption of their own.
    if (outside(setup.minutes, minutesRange))
        return SetupRefusal{QString(), rangeText(minutesRange)};
    if (outside(setup.seconds, secondsRange))
        return SetupRefusal{QString(), rangeText(secondsRange)};
    if (outside(setup.interval, intervalRange))
        return SetupRefusal{QString(), rangeText(intervalRange)};
    return std::nullopt;
}

std::int32_t parseSetupNumber(const QString &text)
{
    const auto parsed = parseInteger(text.trimmed());
    if (!parsed)
        return 0;
    const long long v = *parsed;
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

} // namespace zolm::probe
