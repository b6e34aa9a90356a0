// A platform header that includes only its own folder.
#include "platform/Tick.h"
#include <string>
