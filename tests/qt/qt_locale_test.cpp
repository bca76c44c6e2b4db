// The designators and separator come from the user's locale (LANG), as the clock shows them.
// Run once per locale by CTest, with the expected texts in the environment.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/qt/qt_system.h"

namespace zdz::qt {
namespace {

std::string Expected(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

TEST(QtTime, DesignatorsAndSeparatorFollowTheLocale) {
  QtTime time;
  EXPECT_EQ(time.AmDesignator(), Expected("ZDZ_EXPECT_AM"));
  EXPECT_EQ(time.PmDesignator(), Expected("ZDZ_EXPECT_PM"));
  EXPECT_EQ(time.TimeSeparator(), ":");
}

TEST(QtTime, NowIsTheLocalTime) {
  QtTime time;
  const std::time_t before = std::time(nullptr);
  const LocalTime now = time.Now();
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ(now.hour, local.tm_hour);  // TZ is set by the test: not UTC
  EXPECT_EQ(now.year, local.tm_year + 1900);
}

}  // namespace
}  // namespace zdz::qt
