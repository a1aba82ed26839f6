#include "TextSemantics.h"
// Implemented in the text-semantics change.
