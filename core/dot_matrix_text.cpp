#include "core/dot_matrix_text.h"
