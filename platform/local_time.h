#pragma once
// Local time and the user's regional settings for it.

#include <string>

namespace zdz {

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const LocalTime&) const = default;
};

class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual LocalTime Now() = 0;
  virtual std::string TimeSeparator() = 0;
  virtual std::string AmDesignator() = 0;
  virtual std::string PmDesignator() = 0;
};

}  // namespace zdz
