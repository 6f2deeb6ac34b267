// zolm-cli's one place for a result's exit status and stream: what each code prints where.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <string>

using namespace zolm;

namespace {

struct Told {
    int status;
    std::string out;
    std::string err;
};

Told tell(ErrorCode code, const QString &message)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = cli::fail(makeError(code, message));
    std::string out = ::testing::internal::GetCapturedStdout();
    return {status, std::move(out), ::testing::internal::GetCapturedStderr()};
}

// The probe's codes as its commands have always ended: a success and a probe without data on
// stdout, every other failure on stderr; only a success exits 0.
TEST(CliFailures, EachCodeChoosesTheExitStatusAndTheStream)
{
    struct Case {
        ErrorCode code;
        int status;
        bool onStdout;
    };
    const Case cases[] = {
        {ErrorCode::None, 0, true},          {ErrorCode::ProbeNoData, 1, true},
        {ErrorCode::ProbeTimeout, 1, false}, {ErrorCode::ProbeMismatch, 1, false},
        {ErrorCode::ProbePort, 1, false},    {ErrorCode::ProbeData, 1, false},
        {ErrorCode::ProbeUnverified, 1, false}, {ErrorCode::Missing, 1, false},
        {ErrorCode::Refused, 1, false},      {ErrorCode::WriteFailed, 1, false},
    };
    const std::string line = "通讯超时\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_EQ(cli::exitStatus(c.code), c.status);
        const Told told = tell(c.code, QStringLiteral("通讯超时"));
        EXPECT_EQ(told.status, c.status);
        EXPECT_EQ(told.out, c.onStdout ? line : std::string());
        EXPECT_EQ(told.err, c.onStdout ? std::string() : line);
    }
    // Cancelled says nothing; an empty text prints no empty line; wrong usage exits 2 with the hint.
    const Told cancelled = tell(ErrorCode::Cancelled, QStringLiteral("x"));
    EXPECT_EQ(cancelled.status, 1);
    EXPECT_EQ(cancelled.out + cancelled.err, "");
    const Told silent = tell(ErrorCode::None, {});
    EXPECT_EQ(silent.out + silent.err, "");
    const Told usage = tell(ErrorCode::Usage, QStringLiteral("x"));
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err, "zolm-cli：x\n用法见 zolm-cli --help。\n");
}

} // namespace
