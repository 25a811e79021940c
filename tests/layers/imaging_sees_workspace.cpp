#include "workspace/PhotoTable.h"
