#pragma once

#include <functional>

// Runs the program: the application object, its title and fonts, then the main window and the
// message loop, which ends when the main window closes. With openWorkspace the photo resizing
// workspace opens over the main window as soon as the loop runs, as its menu command opens it.
// `shown`, when given, runs once the main window is shown, before the loop starts.
int runProgram(int argc, char** argv, bool openWorkspace = false,
               const std::function<void()>& shown = {});
