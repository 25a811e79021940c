#include "dialogs/Fonts.h"
