#pragma once

#include "platform/form.h"

namespace boardtool {

// The main window, control by control, as it stands at design time.
extern const platform::FormSpec MainWindowForm;

}  // namespace boardtool
