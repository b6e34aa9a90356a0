// A file of liba that reaches up into os.
#include "liba/Buffer.h"
#include "os/File.h"
