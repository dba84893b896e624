#include "core/glyph_record.h"
