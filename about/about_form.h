#pragma once

#include "platform/form_layout.h"

namespace zdz {

// fomAbout: icon, title, version, the maker's lines, the etched rule and two buttons.
FormSpec AboutFormSpec();

}  // namespace zdz
