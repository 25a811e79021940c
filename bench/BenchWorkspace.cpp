#include "BenchWorkspace.h"

#include "dialogs/Fonts.h"
#include "window/Preview.h"
#include "window/TRidFotoForm.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace tess::bench {
namespace {

std::string windowsFolder(const std::filesystem::path& path) {
    return platform::SystemFileSystem::windowsPath(path.string()) + "\\";
}

std::filesystem::path makeScratchFolder(const char* tag) {
    std::random_device random;
    for (;;) {
        const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                             (std::string(tag) + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder))
            return folder;
    }
}

} // namespace

std::optional<BenchArguments> readArguments(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
        return std::nullopt;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return BenchArguments{argv[1], argc > 2 ? std::max(1, std::atoi(argv[2])) : 3};
}

void waitForPreviews(TRidFotoForm& form) {
    for (int c = 0; c < workspace::ColumnCount; ++c) {
        while (form.preview(c).isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

StallMeter::StallMeter(std::function<bool()> counting) : m_counting(std::move(counting)) {
    m_ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_ticks, &QTimer::timeout, [this] {
        const long long now = m_clock.elapsed();
        if (m_counting && !m_counting()) {
            m_lastTick = -1;
            return;
        }
        if (m_lastTick >= 0)
            m_longest = std::max(m_longest, now - m_lastTick);
        m_lastTick = now;
    });
}

void StallMeter::start() {
    m_longest = 0;
    m_lastTick = -1;
    m_clock.start();
    m_ticks.start(5);
}

BenchWorkspace::BenchWorkspace(const std::filesystem::path& originals, const char* tag)
    : m_work(makeScratchFolder(tag)), project{"Tessaluma",
                                              windowsFolder(m_work) + "Tessaluma.ini"} {
    namespace fs = std::filesystem;
    ui::loadFonts();
    fs::create_directories(m_work / "ridotte");
    fs::create_directories(m_work / "thumbs");
    std::ofstream(m_work / "Tessaluma.ini")
        << "[Tessaluma]\r\nPercorsoFotoOriginali=" << windowsFolder(fs::absolute(originals))
        << "\r\nPercorsoFotoRidotte=" << windowsFolder(m_work / "ridotte")
        << "\r\nPercorsoFotoThumbs=" << windowsFolder(m_work / "thumbs")
        << "\r\nAnteprimaOriginali=SI\r\n";
}

BenchWorkspace::~BenchWorkspace() {
    std::error_code ec;
    std::filesystem::remove_all(m_work, ec);
}

} // namespace tess::bench
