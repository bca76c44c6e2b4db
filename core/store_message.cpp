#include "core/store_message.h"

#include "resources/captions.h"

namespace zdz {

std::string StoreFailureMessage(const char* lead, const StoreError& e) {
  switch (e.Reason()) {
    case StoreFailure::kNoSpace:
      return std::string(lead) + text::kNoSpace;
    case StoreFailure::kNotPermitted:
      return std::string(lead) + text::kNotPermitted;
    case StoreFailure::kOther:
      break;
  }
  return std::string(lead) + text::kWriteFailed;
}

}  // namespace zdz
