#include "core/export_layout.h"
