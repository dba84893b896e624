#include "core/safe_writer.h"
