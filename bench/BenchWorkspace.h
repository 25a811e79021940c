#pragma once

#include "platform/SystemFileSystem.h"
#include "workspace/Project.h"

#include <QElapsedTimer>
#include <QTimer>

#include <filesystem>
#include <functional>
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

// What a user feels of the window's thread: the longest gap between two ticks of a 5 ms timer
// on it since start(), counting only while `counting` says so (always when it is empty).
class StallMeter {
public:
    explicit StallMeter(std::function<bool()> counting = {});
    void start();
    void stop() { m_ticks.stop(); }
    long long longestMs() const { return m_longest; }
    // Milliseconds since start().
    long long elapsedMs() const { return m_clock.elapsed(); }

private:
    std::function<bool()> m_counting;
    QElapsedTimer m_clock;
    QTimer m_ticks;
    long long m_lastTick = -1;
    long long m_longest = 0;
};

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
