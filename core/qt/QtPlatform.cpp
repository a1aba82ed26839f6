#include "QtPlatform.h"
// Implemented in the Qt platform change.
