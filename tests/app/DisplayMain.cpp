// The main of the display tests: a private Xvfb server, then the application object on the xcb
// platform on it, set up as the program sets itself up (name, icon, fonts), and GoogleTest. The
// server picks a free display number itself and goes with the test process, however that ends.
#include "app/Application.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class XvfbServer {
public:
    // Starts the server and waits, at most ten seconds, for it to tell its display number.
    XvfbServer() {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        m_ready = ready[0];
        // The number comes with a newline; the pipe stays open while the server may write.
        std::string number;
        char c = 0;
        pollfd wait{m_ready, POLLIN, 0};
        while (m_pid > 0 && poll(&wait, 1, 10000) == 1 && read(m_ready, &c, 1) == 1 && c != '\n')
            number += c;
        if (c == '\n' && !number.empty())
            m_display = ":" + number;
    }
    ~XvfbServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_ready >= 0)
            close(m_ready);
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Empty when the server did not start.
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;
    int m_ready = -1;
    std::string m_display;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    XvfbServer server;
    if (server.display().empty()) {
        std::fprintf(stderr, "Xvfb did not start: the display tests need it (package xvfb)\n");
        return 1;
    }
    setenv("DISPLAY", server.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    tess::ui::setUpApplication();
    return RUN_ALL_TESTS();
}
