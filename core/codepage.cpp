#include "core/codepage.h"
