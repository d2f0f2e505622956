#include "app/closing.h"

#include <gtest/gtest.h>

#include "tests/support/program_runs.h"

namespace {

TEST(ClosingTest, StoresTheSettingsOnceHoweverOftenTheRunEnds) {
    fake::ProgramRuns runs;
    app::Closing closing(runs.start());
    closing.run();
    const std::size_t written = runs.fake.settings.writtenKeys.size();
    EXPECT_EQ(written, 10u);
    closing.run();  // a close after the end of the session
    EXPECT_EQ(runs.fake.settings.writtenKeys.size(), written);
}

TEST(ClosingTest, AWindowThatCannotBeMadeIsReported) {
    fake::FakePlatform fake;
    app::tellWindowFailed(fake.messageDialog);
    ASSERT_EQ(fake.messageDialog.shown.size(), 1u);
    EXPECT_EQ(fake.messageDialog.shown[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(fake.messageDialog.shown[0].text, app::windowFailed);
}

}  // namespace
