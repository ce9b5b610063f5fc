// Keyboard handling of the string grid.
#include "grid/control/pro_string_grid.h"
