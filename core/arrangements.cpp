#include "core/arrangements.h"
