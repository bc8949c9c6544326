// The wizard's window form: seven program-switched pages with Back, Next
// and Cancel below.
#pragma once

#include "platform/form.h"

namespace installer {

extern const platform::FormSpec WizardForm;

}  // namespace installer
