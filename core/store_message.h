#pragma once
// The words for a settings store that could not do what the user asked.

#include <string>

#include "platform/settings_store.h"

namespace zdz {

// `lead` (what could not be done), then why, in the user's terms.
std::string StoreFailureMessage(const char* lead, const StoreError& e);

}  // namespace zdz
