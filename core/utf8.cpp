#include "core/utf8.h"
