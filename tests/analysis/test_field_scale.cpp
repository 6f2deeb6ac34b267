// The probe's field scale: calibrated from a survey against the site's model, refused when far
// from 1, remembered per probe on this computer, and the rule that picks the scale QC uses.
#include "analysis/field_scale.h"
#include "analysis/stops.h"
#include "multishot_run.h"
#include "platform/settings.h"

#include "analysis_test_support.h"
#include "failure_text.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace zolm;
using zolm::test::failureText;
using zolm::test::surveyOf;

namespace {

// Where the virtual probe's realistic run takes place.
const Site Field{38.71, 116.10, 0, QDate(2026, 5, 20)};

double modelGauss(const Site &site)
{
    return siteField(site)->total / 100000.0;
}

void setProbeNumber(SurveyData &s, const char *number)
{
    std::uint8_t *identity = s.parameters.bytes.data() + ProbeParameterBlock::CalibrationOffset + Cal::Identity;
    std::memset(identity, 0, 16);
    std::memcpy(identity, number, std::strlen(number));
}

class FieldScaleStore : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
};

} // namespace

TEST(FieldScale, CalibratesFromTheCheckedShotsElseTheShownOnes)
{
    const double model = modelGauss(Field);
    // Checked: 0, 1, 2 (2 hidden) and 4, whose field is not a number; 3 is neither.
    auto s = surveyOf({{}, {}, {0, 0, 0, true, false}, {0, 0, 0, false}, {}});
    const double fields[] = {0.550, 0.553, 0.549, 0.700, std::nan("")};
    for (std::size_t i = 0; i < 5; ++i)
        s->values[i][TotalField] = fields[i];
    auto c = calibrateFieldScale(*s, Field);
    ASSERT_TRUE(c) << failureText(c).toStdString();
    EXPECT_EQ(c->shots, 3);
    EXPECT_TRUE(c->fromChecked);
    EXPECT_DOUBLE_EQ(c->measured, 0.550);
    EXPECT_DOUBLE_EQ(c->model, model);
    EXPECT_DOUBLE_EQ(c->scale, 0.550 / model);
    // The scale makes QC's reference the measured field.
    EXPECT_NEAR(siteReference(*siteField(Field), c->scale).field, 0.550, 1e-15);

    // Nothing checked: every shown shot, the mean of the two middle ones for an even count.
    for (std::size_t i = 0; i < 5; ++i)
        s->flags[i] &= ~PointFlag::Checked;
    c = calibrateFieldScale(*s, Field);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->shots, 3);
    EXPECT_FALSE(c->fromChecked);
    EXPECT_DOUBLE_EQ(c->measured, 0.553);

    // No field to take, or no model for the site.
    for (std::size_t i = 0; i < 5; ++i)
        s->values[i][TotalField] = std::nan("");
    c = calibrateFieldScale(*s, Field);
    EXPECT_FALSE(c);
    EXPECT_FALSE(failureText(c).isEmpty());
    s->values[0][TotalField] = 0.55;
    c = calibrateFieldScale(*s, Site{38.71, 116.10, 0, QDate(2019, 5, 20)});
    EXPECT_FALSE(c);
    EXPECT_TRUE(failureText(c).contains(QStringLiteral("地磁模型"))) << failureText(c).toStdString();
}

TEST(FieldScale, RefusesAScaleMoreThanFivePercentFromOneWithTheReason)
{
    const double model = modelGauss(Field);
    auto s = surveyOf({{}});
    for (const double scale : {0.951, 1.049}) {
        s->values[0][TotalField] = model * scale;
        const auto c = calibrateFieldScale(*s, Field);
        ASSERT_TRUE(c) << scale << ' ' << failureText(c).toStdString();
        EXPECT_NEAR(c->scale, scale, 1e-12);
    }
    for (const double scale : {0.949, 1.051, 1.6}) {
        s->values[0][TotalField] = model * scale;
        const auto c = calibrateFieldScale(*s, Field);
        EXPECT_FALSE(c) << scale;
        const QString why = failureText(c);
        // The scale, the limit, and what was compared with what.
        EXPECT_TRUE(why.contains(QString::number(scale, 'f', 4))) << why.toStdString();
        EXPECT_TRUE(why.contains(QStringLiteral("5%")));
        EXPECT_TRUE(why.contains(QString::number(model, 'f', 5)));
        EXPECT_TRUE(why.contains(QStringLiteral("井场的位置和日期")));
    }
}

TEST_F(FieldScaleStore, RememberedPerProbeNumberOnThisComputer)
{
    auto s = surveyOf({{}});
    EXPECT_EQ(surveyProbeNumber(*s), QString());
    setProbeNumber(*s, "ZL-2217");
    EXPECT_EQ(surveyProbeNumber(*s), QStringLiteral("ZL-2217"));
    EXPECT_EQ(fieldScaleKey(QStringLiteral("ZL-2217")), QStringLiteral("FieldScale/ZL-2217"));

    EXPECT_FALSE(rememberedFieldScale(store, QStringLiteral("ZL-2217")));
    EXPECT_FALSE(store.contains(fieldScaleKey(QStringLiteral("ZL-2217")))); // looking writes nothing
    ASSERT_TRUE(rememberFieldScale(store, QStringLiteral("ZL-2217"), 1.0099312345678901));
    EXPECT_EQ(rememberedFieldScale(store, QStringLiteral("ZL-2217")), 1.0099312345678901);
    // Another store on the same file (the next program run) sees it.
    SettingsStore again(store.path());
    EXPECT_EQ(rememberedFieldScale(again, QStringLiteral("ZL-2217")), 1.0099312345678901);

    // A number with a sub-key separator or Chinese stays one key of its own.
    const QString odd = QStringLiteral("A/B 探管");
    ASSERT_TRUE(rememberFieldScale(store, odd, 0.98));
    EXPECT_EQ(rememberedFieldScale(store, odd), 0.98);
    EXPECT_FALSE(rememberedFieldScale(store, QStringLiteral("A")));
    EXPECT_FALSE(fieldScaleKey(odd).mid(11).contains(QLatin1Char('/')));

    // Nothing for a survey without a number, nor a value that is not a scale.
    EXPECT_FALSE(rememberFieldScale(store, QString(), 1.01));
    EXPECT_FALSE(rememberFieldScale(store, QStringLiteral("ZL-1"), 0));
    store.writeString(fieldScaleKey(QStringLiteral("ZL-9")), QStringLiteral("abc"));
    EXPECT_FALSE(rememberedFieldScale(store, QStringLiteral("ZL-9")));
}

TEST_F(FieldScaleStore, TheCommandsScaleElseTheSitesElseTheProbesElseOne)
{
    auto s = surveyOf({{}});
    setProbeNumber(*s, "ZL-2217");
    Site withScale = Field;
    withScale.fieldScale = 1.02;

    auto choice = chooseFieldScale(std::nullopt, Field, *s, &store);
    EXPECT_EQ(choice.source, FieldScaleChoice::Source::Default);
    EXPECT_EQ(choice.scale, 1.0);
    EXPECT_STREQ(fieldScaleSourceName(choice.source), "default");

    ASSERT_TRUE(rememberFieldScale(store, QStringLiteral("ZL-2217"), 1.01));
    choice = chooseFieldScale(std::nullopt, Field, *s, &store);
    EXPECT_EQ(choice.source, FieldScaleChoice::Source::Probe);
    EXPECT_EQ(choice.scale, 1.01);
    EXPECT_TRUE(fieldScaleText(choice).contains(QStringLiteral("ZL-2217")));
    // Without a site too: a judgement against the medians does not use it, the report still says it.
    EXPECT_EQ(chooseFieldScale(std::nullopt, std::nullopt, *s, &store).source, FieldScaleChoice::Source::Probe);
    // No store consulted: nothing remembered.
    EXPECT_EQ(chooseFieldScale(std::nullopt, Field, *s, nullptr).source, FieldScaleChoice::Source::Default);

    choice = chooseFieldScale(std::nullopt, withScale, *s, &store);
    EXPECT_EQ(choice.source, FieldScaleChoice::Source::Site);
    EXPECT_EQ(choice.scale, 1.02);

    choice = chooseFieldScale(0.97, withScale, *s, &store);
    EXPECT_EQ(choice.source, FieldScaleChoice::Source::Given);
    EXPECT_EQ(choice.scale, 0.97);
    EXPECT_STREQ(fieldScaleSourceName(choice.source), "option");
}

// The field day: the scale calibrated on one run of the probe makes QC pass on the next run of
// the same probe at the same site, whose noise and stops differ; with a scale of 1 it fails.
TEST_F(FieldScaleStore, CalibratedOnOneRunQcPassesOnAnotherRunOfTheSameProbe)
{
    const auto survey = [](std::uint64_t seed) {
        sim::RunOptions o;
        o.seed = seed;
        sim::MultiShotRun run;
        QString error;
        EXPECT_TRUE(sim::makeMultiShotRun(o, run, &error)) << error.toStdString();
        auto s = std::make_unique<SurveyData>();
        s->loadFromProbe(run.memory.parameters.bytes, run.memory.data.bytes);
        // One shot per stop ticked, as "自动选点" ticks them.
        const std::vector<bool> checks = stopChecks(*s, findStops(*s));
        for (std::size_t i = 0; i < checks.size(); ++i) {
            if (checks[i])
                s->flags[i] |= PointFlag::Checked;
        }
        return s;
    };
    const auto first = survey(1);
    const auto c = calibrateFieldScale(*first, Field);
    ASSERT_TRUE(c) << failureText(c).toStdString();
    EXPECT_TRUE(c->fromChecked);
    EXPECT_GT(c->shots, 40);
    EXPECT_NEAR(c->scale, 1.01, 0.001); // the virtual probe's magnetometers
    ASSERT_TRUE(rememberFieldScale(store, surveyProbeNumber(*first), c->scale));

    const auto second = survey(2);
    const FieldScaleChoice choice = chooseFieldScale(std::nullopt, Field, *second, &store);
    EXPECT_EQ(choice.source, FieldScaleChoice::Source::Probe);
    const GeomagneticField model = *siteField(Field);
    const QcResult judged = runQc(*second, siteReference(model, choice.scale), QcTolerance{});
    EXPECT_GT(judged.checkedPassed, 40);
    EXPECT_EQ(judged.checkedFailed, 0);

    const QcResult unscaled = runQc(*second, siteReference(model, DefaultFieldScale), QcTolerance{});
    EXPECT_EQ(unscaled.checkedPassed, 0);
}
