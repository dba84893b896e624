#include "core/byte_text.h"
