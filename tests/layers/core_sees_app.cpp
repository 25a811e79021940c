#include "app/TTabForm.h"
