#include "core/glyph_reader.h"
