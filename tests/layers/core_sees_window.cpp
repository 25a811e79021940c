// A header of the window that pulls in no Qt header: only the layers keep it out of the core.
#include "window/WindowPrompt.h"
