#pragma once

#include "platform/form_layout.h"

namespace zdz {

// fomTIME as designed, before its load step sizes it.
FormSpec ClockFormSpec();

}  // namespace zdz
