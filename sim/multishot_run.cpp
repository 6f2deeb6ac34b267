#include "multishot_run.h"

#include "analysis/geomagnetic.h"
#include "conversion/conversion.h"
#include "platform/number_text.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace zolm::sim {

namespace {

constexpr double D2R = conv::DegToRad;

// splitmix64 and Box-Muller: the same draws from every compiler and library, which the
// standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // In (0, 1].
    double uniform() { return (static_cast<double>(next() >> 11) + 1.0) * 0x1.0p-53; }
    double gaussian()
    {
        const double r = std::sqrt(-2.0 * std::log(uniform()));
        return r * std::cos(2.0 * 3.141592653589793 * uniform());
    }
    Vec3 gaussian3(double sigma) { return {sigma * gaussian(), sigma * gaussian(), sigma * gaussian()}; }

private:
    std::uint64_t m_state;
};

// A piece of the run: the probe resting (at a station or not) or moving from md0 to md1.
struct Segment {
    std::int64_t t0 = 0, t1 = 0; // seconds since the probe started, [t0, t1)
    double md0 = 0, md1 = 0;
    int station = -1;
    bool moving = false;
    double toolface0 = 0, toolface1 = 0; // the tool's toolface at both ends, degrees
};

// The rock warms with depth; the probe follows it with a lag.
constexpr double SurfaceTemperature = 20.0;     // degrees Celsius
constexpr double TemperatureGradient = 0.03;    // degrees per metre of TVD
constexpr double TemperatureLag = 300.0;        // seconds
constexpr double TemperatureStep = 10.0;        // seconds
// How much the pipe or the cable turns the tool on a move, and how it shakes it.
constexpr double TurnPerMinute = 90.0;  // degrees, standard deviation over a minute of moving
constexpr double ToolfaceJitter = 5.0;  // degrees, standard deviation per moving shot

double wrap360(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

std::int64_t secondsFor(double metres, double speed) { return static_cast<std::int64_t>(std::ceil(metres / speed)); }

std::vector<double> stationDepths(const RunOptions &o)
{
    std::vector<double> depths;
    const auto count = static_cast<long>(std::floor(o.td / o.course + 1e-9));
    for (long k = 1; k <= count; ++k)
        depths.push_back(o.course * static_cast<double>(k));
    // The bottom is surveyed too when it is not on a course.
    if (depths.empty() || o.td - depths.back() > 0.01)
        depths.push_back(o.td);
    if (o.direction == RunDirection::Out)
        std::reverse(depths.begin(), depths.end());
    return depths;
}

std::vector<Segment> timeline(const RunOptions &o, const std::vector<double> &depths, Random &random,
                              std::vector<RunStation> &stations)
{
    std::vector<Segment> segments;
    segments.reserve(2 * depths.size() + 3);
    std::int64_t t = 0;
    double md = 0;
    double toolface = 360.0 * random.uniform();
    auto move = [&](double to, double speed) {
        Segment s;
        s.t0 = t;
        s.t1 = t + std::max<std::int64_t>(1, secondsFor(std::fabs(to - md), speed));
        s.md0 = md;
        s.md1 = to;
        s.moving = true;
        s.toolface0 = toolface;
        const double minutes = static_cast<double>(s.t1 - s.t0) / 60.0;
        toolface = wrap360(toolface + TurnPerMinute * std::sqrt(minutes) * random.gaussian());
        s.toolface1 = toolface;
        segments.push_back(s);
        t = s.t1;
        md = to;
    };
    auto rest = [&](std::int64_t until, int station) {
        Segment s;
        s.t0 = t;
        s.t1 = until;
        s.md0 = s.md1 = md;
        s.station = station;
        s.toolface0 = s.toolface1 = toolface;
        segments.push_back(s);
        t = until;
    };

    if (o.direction == RunDirection::Out) {
        move(depths.front(), o.tripSpeed);
    } else if (o.delay > 0) {
        // Lowering starts when the probe starts taking shots.
        rest(o.delay, -1);
    }
    for (std::size_t i = 0; i < depths.size(); ++i) {
        if (i > 0 || o.direction == RunDirection::In)
            move(depths[i], o.speed);
        // The crew waits out the start delay before it leaves the first station, and no stop
        // is timed to the second.
        const std::int64_t start = std::max<std::int64_t>(t, o.delay);
        const std::int64_t extra = o.stop > 0 ? static_cast<std::int64_t>(random.next() % (o.stop / 4 + 1)) : 0;
        RunStation station;
        station.md = depths[i];
        station.arrive = t;
        station.leave = start + o.stop + extra;
        stations.push_back(station);
        rest(station.leave, static_cast<int>(i));
    }
    move(0.0, o.direction == RunDirection::Out ? o.speed : o.tripSpeed);
    return segments;
}

struct ProbeState {
    double md = 0;
    double toolface = 0;
    const Segment *segment = nullptr;
};

ProbeState stateAt(const std::vector<Segment> &segments, std::size_t &cursor, double t)
{
    while (cursor + 1 < segments.size() && t >= static_cast<double>(segments[cursor].t1))
        ++cursor;
    const Segment &s = segments[cursor];
    const double span = static_cast<double>(s.t1 - s.t0);
    const double f = span > 0 ? std::clamp((t - static_cast<double>(s.t0)) / span, 0.0, 1.0) : 1.0;
    ProbeState p;
    p.md = s.md0 + (s.md1 - s.md0) * f;
    double turn = s.toolface1 - s.toolface0;
    if (turn > 180.0)
        turn -= 360.0;
    if (turn < -180.0)
        turn += 360.0;
    p.toolface = s.toolface0 + turn * f;
    p.segment = &s;
    return p;
}

double rockTemperature(const RunOptions &o, double md)
{
    return SurfaceTemperature + TemperatureGradient * wellPathAt(o, md).tvd;
}

QString rangeError(const QString &name, const QString &expected)
{
    return QCoreApplication::translate("zolm-probe-sim", "--%1 的值有误：应为 %2").arg(name, expected);
}

bool number(const QString &text, double low, double high, double &out)
{
    const auto v = parseNumber(text.trimmed());
    if (!v || !(*v >= low && *v <= high))
        return false;
    out = *v;
    return true;
}

// As the table's time column writes it: the hours go on past 24.
QString timeText(std::int64_t s)
{
    const QChar zero = QLatin1Char('0');
    return QStringLiteral("%1:%2:%3")
        .arg(static_cast<qint64>(s / 3600), 2, 10, zero)
        .arg(static_cast<qint64>((s / 60) % 60), 2, 10, zero)
        .arg(static_cast<qint64>(s % 60), 2, 10, zero);
}

const char *const OptionNames[] = {"kickoff", "build", "hold", "azimuth", "td",
                                   "course", "stop", "speed", "trip-speed", "direction",
                                   "lat", "lon", "height", "date",
                                   "field-scale", "noise", "vibration", "delay", "interval", "seed"};

} // namespace

bool isRunOption(const QString &name)
{
    return std::any_of(std::begin(OptionNames), std::end(OptionNames),
                       [&](const char *n) { return name == QLatin1String(n); });
}

bool setRunOption(RunOptions &o, const QString &name, const QString &value, QString *error)
{
    auto fail = [&](const QString &expected) {
        if (error)
            *error = rangeError(name, expected);
        return false;
    };
    double v = 0;
    if (name == QLatin1String("kickoff")) {
        if (!number(value, 0, 10000, o.kickoff))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 10000 米"));
    } else if (name == QLatin1String("build")) {
        if (!number(value, 0.01, 30, o.build))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0.01 到 30 度/30 米"));
    } else if (name == QLatin1String("hold")) {
        if (!number(value, 0, 90, o.hold))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 90 度"));
    } else if (name == QLatin1String("azimuth")) {
        if (!number(value, 0, 360, o.azimuth))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 360 度"));
    } else if (name == QLatin1String("td")) {
        if (!number(value, 1, 10000, o.td))
            return fail(QCoreApplication::translate("zolm-probe-sim", "1 到 10000 米"));
    } else if (name == QLatin1String("course")) {
        if (!number(value, 1, 1000, o.course))
            return fail(QCoreApplication::translate("zolm-probe-sim", "1 到 1000 米"));
    } else if (name == QLatin1String("stop")) {
        if (!number(value, 0, 36000, v) || v != std::floor(v))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 36000 的整秒数"));
        o.stop = static_cast<int>(v);
    } else if (name == QLatin1String("speed")) {
        if (!number(value, 0.01, 10, o.speed))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0.01 到 10 米/秒"));
    } else if (name == QLatin1String("trip-speed")) {
        if (!number(value, 0.01, 10, o.tripSpeed))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0.01 到 10 米/秒"));
    } else if (name == QLatin1String("direction")) {
        if (value == QLatin1String("in"))
            o.direction = RunDirection::In;
        else if (value == QLatin1String("out"))
            o.direction = RunDirection::Out;
        else
            return fail(QCoreApplication::translate("zolm-probe-sim", "in 或 out"));
    } else if (name == QLatin1String("lat")) {
        if (!number(value, -GeomagneticRange::MaxLatitude, GeomagneticRange::MaxLatitude, o.latitude))
            return fail(QCoreApplication::translate("zolm-probe-sim", "-89.9 到 89.9 度"));
    } else if (name == QLatin1String("lon")) {
        if (!number(value, GeomagneticRange::MinLongitude, GeomagneticRange::MaxLongitude, o.longitude))
            return fail(QCoreApplication::translate("zolm-probe-sim", "-180 到 360 度"));
    } else if (name == QLatin1String("height")) {
        if (!number(value, -1000, 10000, o.height))
            return fail(QCoreApplication::translate("zolm-probe-sim", "-1000 到 10000 米"));
    } else if (name == QLatin1String("date")) {
        const QDate d = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid() || !modelFor(decimalYear(d)))
            return fail(QCoreApplication::translate("zolm-probe-sim", "2020-01-01 到 2029-12-31 之间的日期 YYYY-MM-DD"));
        o.date = d;
    } else if (name == QLatin1String("field-scale")) {
        if (!number(value, 0.5, 2, o.fieldScale))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0.5 到 2 的系数"));
    } else if (name == QLatin1String("noise")) {
        if (!number(value, 0, 0.1, o.noise))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 0.1 的标准差"));
    } else if (name == QLatin1String("vibration")) {
        if (!number(value, 0, 2, o.vibration))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 2 g 的标准差"));
    } else if (name == QLatin1String("delay")) {
        if (!number(value, 0, 65535, v) || v != std::floor(v))
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 65535 的整秒数"));
        o.delay = static_cast<std::uint16_t>(v);
    } else if (name == QLatin1String("interval")) {
        if (!number(value, 1, 255, v) || v != std::floor(v))
            return fail(QCoreApplication::translate("zolm-probe-sim", "1 到 255 的整秒数"));
        o.interval = static_cast<std::uint8_t>(v);
    } else if (name == QLatin1String("seed")) {
        bool ok = false;
        const qulonglong seed = value.toULongLong(&ok, 10);
        if (!ok)
            return fail(QCoreApplication::translate("zolm-probe-sim", "0 到 18446744073709551615 的整数"));
        o.seed = seed;
    } else {
        if (error)
            *error = QCoreApplication::translate("zolm-probe-sim", "未知的选项 --%1").arg(name);
        return false;
    }
    return true;
}

PathPoint wellPathAt(const RunOptions &o, double md)
{
    PathPoint p;
    p.md = md;
    p.azimuth = o.azimuth;
    const double vertical = std::min(md, o.kickoff);
    p.tvd = vertical;
    if (md <= o.kickoff)
        return p;
    // A circular arc in the vertical plane of the azimuth, then a straight hold.
    const double radius = 30.0 / (o.build * D2R);
    const double buildLength = o.hold / o.build * 30.0;
    const double arc = std::min(md - o.kickoff, buildLength);
    const double inc = arc / radius; // radians
    double horizontal = radius * (1.0 - std::cos(inc));
    p.tvd += radius * std::sin(inc);
    p.inclination = inc / D2R;
    const double straight = md - o.kickoff - arc;
    if (straight > 0) {
        const double held = o.hold * D2R;
        horizontal += straight * std::sin(held);
        p.tvd += straight * std::cos(held);
        p.inclination = o.hold;
    }
    p.north = horizontal * std::cos(o.azimuth * D2R);
    p.east = horizontal * std::sin(o.azimuth * D2R);
    return p;
}

bool makeMultiShotRun(const RunOptions &o, MultiShotRun &run, QString *error)
{
    const auto field = geomagneticField({o.latitude, o.longitude, o.height}, decimalYear(o.date));
    if (!field) {
        if (error)
            *error = field.error().message;
        return false;
    }
    run = MultiShotRun{};
    run.declination = field->declination;
    run.totalField = field->total;
    run.dip = field->inclination;
    const EarthField earth{field->total / 100000.0 * o.fieldScale, field->inclination};

    Random random(o.seed);
    const std::vector<double> depths = stationDepths(o);
    const std::vector<Segment> segments = timeline(o, depths, random, run.stations);

    const SyntheticProbe probe(CalibrationKind::Realistic);
    run.memory.parameters = probe.parameters();
    RawDataImage &data = run.memory.data;
    data.setHeader({o.delay, o.interval, 0});
    // The tail is not interpreted but must travel unchanged; give it recognisable bytes.
    for (std::size_t k = 0; k < RawDataImage::TailSize; ++k)
        data.bytes[RawDataImage::TailOffset + k] = static_cast<std::uint8_t>(0xA0 + k);

    // The shots come when the probe's own settings say.
    const std::int64_t first = data.firstSampleTime();
    const std::int64_t interval = data.samplingInterval();
    const std::int64_t end = segments.back().t1;
    const std::int64_t wanted = end >= first ? (end - first) / interval + 1 : 0;
    const int stored = static_cast<int>(std::min<std::int64_t>(wanted, MaxSurveyPoints));
    run.shotsLost = static_cast<int>(wanted - stored);
    run.shots.reserve(static_cast<std::size_t>(stored));

    std::size_t cursor = 0;
    std::size_t warmCursor = 0;
    double temperature = rockTemperature(o, 0.0);
    double warmedTo = 0;
    const double keep = std::exp(-TemperatureStep / TemperatureLag);
    for (int i = 0; i < stored; ++i) {
        const std::int64_t time = first + interval * i;
        const double t = static_cast<double>(time);
        while (warmedTo < t) {
            const double step = std::min(TemperatureStep, t - warmedTo);
            const double rock = rockTemperature(o, stateAt(segments, warmCursor, warmedTo + step / 2).md);
            const double k = step == TemperatureStep ? keep : std::exp(-step / TemperatureLag);
            temperature = rock + (temperature - rock) * k;
            warmedTo += step;
        }
        const ProbeState state = stateAt(segments, cursor, t);
        const Segment &segment = *state.segment;
        const PathPoint path = wellPathAt(o, state.md);

        RunShot shot;
        shot.time = static_cast<int>(time);
        shot.md = state.md;
        shot.station = segment.station;
        shot.attitude.inclination = path.inclination;
        shot.attitude.azimuth = wrap360(path.azimuth - run.declination);
        shot.attitude.toolface = state.toolface;
        shot.attitude.temperature = temperature;
        Vec3 shake{};
        if (segment.moving) {
            shot.attitude.toolface += ToolfaceJitter * random.gaussian();
            shake = random.gaussian3(o.vibration);
        }
        shot.attitude.toolface = wrap360(shot.attitude.toolface);
        const Vec3 accelNoise = random.gaussian3(o.noise);
        const Vec3 magNoise = random.gaussian3(o.noise);
        const Vec3 gravity{shake[0] + accelNoise[0], shake[1] + accelNoise[1], shake[2] + accelNoise[2]};
        data.setSample(i, probe.sample(shot.attitude, earth, gravity, magNoise));

        if (segment.station >= 0) {
            RunStation &s = run.stations[static_cast<std::size_t>(segment.station)];
            if (s.firstShot < 0)
                s.firstShot = i;
            s.lastShot = i;
        }
        run.shots.push_back(shot);
    }
    data.setStoredCount(static_cast<std::uint16_t>(stored));
    return true;
}

QByteArray tallyText(const RunOptions &o, const MultiShotRun &run)
{
    // The file's own words, whatever the language of the texts: a tally is data, read by edit
    // --tally and compared across runs.
    QString text;
    const auto comment = [&](const QString &line) { text += QStringLiteral("# ") + line + QLatin1Char('\n'); };
    comment(QStringLiteral("井深记录（虚拟探管的多点测量）：每行一个测点，时间 井深"));
    comment(QStringLiteral(
        "时间为探管开机后的时间（时:分:秒，即表格的“时间”列），取测点停留的中间时刻；井深单位为米"));
    comment((o.direction == RunDirection::Out
                 ? QStringLiteral("起钻时测量，测点间距 %1 米，共 %2 个测点")
                 : QStringLiteral("下钻时测量，测点间距 %1 米，共 %2 个测点"))
                .arg(o.course)
                .arg(run.stations.size()));
    comment(QStringLiteral("井场：纬度 %1°，经度 %2°，高度 %3 米，日期 %4；随机种子 %5")
                .arg(o.latitude)
                .arg(o.longitude)
                .arg(o.height)
                .arg(o.date.toString(QStringLiteral("yyyy-MM-dd")))
                .arg(static_cast<qulonglong>(o.seed)));
    // The middle of the time the probe was there taking shots: a station reached before the
    // start delay ran out counts from the delay.
    for (const RunStation &s : run.stations) {
        const std::int64_t from = std::max<std::int64_t>(s.arrive, o.delay);
        text += QStringLiteral("%1 %2\n").arg(timeText((from + s.leave) / 2)).arg(s.md, 0, 'f', 2);
    }
    return text.toUtf8();
}

} // namespace zolm::sim
