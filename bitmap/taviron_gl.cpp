#include "bitmap/taviron.h"
