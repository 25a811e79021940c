#include "imaging/Image.h"
