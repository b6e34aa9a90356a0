#pragma once

#include "platform/contacts/Contact.h"

namespace os {

// One contact of the device's contacts store, copied out of it: the
// platform's own record.
using ContactRecord = platform::Contact;

} // namespace os
