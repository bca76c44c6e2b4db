#pragma once

#include "platform/form_layout.h"

namespace zdz {

// fomOPTION: every control with its container, place, caption, font and tab order.
FormSpec OptionsFormSpec();

}  // namespace zdz
