// The designators and separator come from the user's locale (LANG), the hour from TZ.
// Run once per locale by CTest, with the expected texts in the environment.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/qt/qt_system.h"

namespace zdz::qt {
namespace {

TEST(QtTime, FollowsTheLocaleAndTheTimeZone) {
  QtTime time;
  EXPECT_EQ(time.AmDesignator(), std::getenv("ZDZ_EXPECT_AM"));
  EXPECT_EQ(time.PmDesignator(), std::getenv("ZDZ_EXPECT_PM"));
  EXPECT_EQ(time.TimeSeparator(), ":");

  const std::time_t before = std::time(nullptr);
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ(time.Now().hour, local.tm_hour);  // TZ is set by the test: not UTC
}

}  // namespace
}  // namespace zdz::qt
