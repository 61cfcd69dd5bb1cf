// Starts a program and watches its first top-level window: when it is mapped, and when the
// program first draws into it (what the player actually sees). After a pause for the rest of the
// first paint it ends the program and prints seconds to map, seconds to first drawing and the
// peak resident memory in KiB:
//     vostrel_mapwatch SETTLE_MS PROGRAM [ARG...]
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
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

struct Watch {
    Display* display;
    int damageEvent;
    Window window = None;  // the first normal top-level window the program maps
    double mapped = -1;
    double drawn = -1;
};

// Follows top-level windows until the first one is mapped and drawn into.
bool watch(Watch& w, pid_t child, Clock::time_point start, Clock::time_point deadline) {
    const int fd = ConnectionNumber(w.display);
    auto since = [start] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    for (;;) {
        while (XPending(w.display) > 0) {
            XEvent event;
            XNextEvent(w.display, &event);
            if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
                // Watched from creation on, so no drawing can slip past before the map; the
                // program may create helper windows that it never shows.
                XDamageCreate(w.display, event.xcreatewindow.window, XDamageReportNonEmpty);
                XFlush(w.display);
            } else if (event.type == MapNotify && !event.xmap.override_redirect &&
                       w.window == None) {
                w.window = event.xmap.window;
                w.mapped = since();
            } else if (event.type == w.damageEvent + XDamageNotify && w.window != None &&
                       reinterpret_cast<XDamageNotifyEvent&>(event).drawable == w.window &&
                       w.drawn < 0) {
                w.drawn = since();
            }
        }
        if (w.mapped >= 0 && w.drawn >= 0) {
            return true;
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

// A helper window the program creates may not be watchable (an input-only one) or may already be
// gone; such windows are never the one shown, so their errors are ignored.
int ignoreUnwatchable(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
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
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreUnwatchable);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    Watch w{display, damageEvent};
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
    const bool seen = watch(w, child, start, start + std::chrono::seconds(30));
    if (seen) {
        // Peak memory should include the whole first paint, not just its first stroke.
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    XCloseDisplay(display);
    if (!seen) {
        std::fprintf(stderr, "%s showed no window\n", argv[2]);
        return 1;
    }
    std::printf("%.4f %.4f %ld\n", w.mapped, w.drawn, usage.ru_maxrss);
    return 0;
}
