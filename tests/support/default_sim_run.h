#pragma once
// What the plain SIM port holds: the virtual probe's default multi-shot run, made once.
#include "multishot_run.h"

#include <gtest/gtest.h>

namespace zolm::testing {

inline const sim::MultiShotRun &defaultSimRun()
{
    static const sim::MultiShotRun run = [] {
        sim::MultiShotRun made;
        EXPECT_TRUE(sim::makeMultiShotRun(sim::RunOptions{}, made, nullptr));
        return made;
    }();
    return run;
}

inline int defaultSimRunShots() { return static_cast<int>(defaultSimRun().shots.size()); }

} // namespace zolm::testing
