#pragma once

#include "platform/SystemFileSystem.h"
#include "workspace/Project.h"

#include <filesystem>
#include <optional>
#include <string>

class TRidFotoForm;

namespace tess::bench {

// The arguments of the window benchmarks: FOLDER [RUNS], 3 runs unless given.
struct BenchArguments {
    std::filesystem::path folder;
    int runs = 3;
};
// Prints the usage and gives nothing when they are wrong. The benchmarks draw offscreen
// unless QT_QPA_PLATFORM asks for a display.
std::optional<BenchArguments> readArguments(int argc, char** argv);

// Lets the window process its events until every preview it has asked for is shown.
void waitForPreviews(TRidFotoForm& form);

// A scratch place for a benchmark of the workspace window: a folder holding the settings
// file, with the originals folder given, empty reduced and thumbnail folders beside it and
// the originals preview on, and the file layer and project a window is opened with.
// Loads the program's fonts (the application must exist). Removed with everything in it at
// the end.
class BenchWorkspace {
public:
    BenchWorkspace(const std::filesystem::path& originals, const char* tag);
    ~BenchWorkspace();
    BenchWorkspace(const BenchWorkspace&) = delete;
    BenchWorkspace& operator=(const BenchWorkspace&) = delete;

private:
    std::filesystem::path m_work;

public:
    platform::SystemFileSystem fileSystem;
    workspace::Project project;
};

} // namespace tess::bench
