#include "core/font_library.h"
