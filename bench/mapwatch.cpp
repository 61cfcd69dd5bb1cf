// Starts a program, waits until it maps its first top-level window, lets it paint, then ends it.
// Prints the seconds from start to map and the peak resident memory in KiB:
//     vostrel_mapwatch SETTLE_MS PROGRAM [ARG...]
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Waits for a map of a normal (not override-redirect) child of the root window.
bool waitForMap(Display* display, pid_t child, Clock::time_point deadline) {
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || waitpid(child, nullptr, WNOHANG) != 0) {
            return false;
        }
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARG...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execv(argv[2], argv + 2);
        _exit(127);
    }
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    const bool mapped = waitForMap(display, child, start + std::chrono::seconds(30));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (mapped) {
        // The first paint follows the map; peak memory should include it.
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "%s mapped no window\n", argv[2]);
        return 1;
    }
    std::printf("%.4f %ld\n", seconds, usage.ru_maxrss);
    return 0;
}
