// A file of the engine that reaches sideways into its own layer.
#include "engine/Matcher.h"
#include "liba/Stream.h"
#include "skinner/Skin.h"
