#pragma once

#include "platform/form_spec.h"

namespace zdz {

// fomOPTION: every control with its container, place, caption, font and tab order.
FormSpec OptionsFormSpec();

}  // namespace zdz
