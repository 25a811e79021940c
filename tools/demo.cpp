// The program as a newcomer first sees it: the main window with the photo resizing workspace
// already open over it. scripts/run --demo starts it in a folder whose settings point at
// sample photos.
#include "app/Program.h"

int main(int argc, char** argv) {
    return runProgram(argc, argv, true);
}
