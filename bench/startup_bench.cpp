// Start-up time of the configurator against a program that shows one bare QDialog: both are
// started alternately on the X server of $DISPLAY (an Xvfb without a window manager), and
// each start is timed from just before exec to the X server's MapNotify of the program's
// first top-level window.  Prints each side's median, the quartiles of the per-pair ratios
// and `ratio startup <ours/peer>`, their median.
//
//   startup_bench <ours> <peer> [pairs] [case name, default "startup"]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The value below which the fraction q of the values lie (nearest rank).
double Quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    const size_t k = std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())));
    return v[k];
}

// Starts the program and returns the milliseconds until a top-level window is mapped; -1
// when the program ends or nothing is mapped within 60 s.
double Time_Start(xcb_connection_t* c, const char* program)
{
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // the programs' messages would only mix into the figures
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    double ms = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (ms < 0 && Clock::now() - start < std::chrono::seconds(60)) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                if (!m->override_redirect && ms < 0)
                    ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
            free(e);
        }
        if (ms >= 0) break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return -1;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval tv{0, 10000};
        select(fd + 1, &set, nullptr, nullptr, &tv);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    xcb_flush(c);
    // drop the events of the program's end
    usleep(100000);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) free(e);
    return ms;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <ours> <peer> [pairs] [case]\n", argv[0]);
        return 2;
    }
    const int pairs = argc > 3 ? std::atoi(argv[3]) : 20;
    const char* name = argc > 4 ? argv[4] : "startup";
    if (pairs < 1) {
        std::fprintf(stderr, "pairs must be at least 1\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server at DISPLAY\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // one start of each first, so that both run from a warm file cache
    Time_Start(c, argv[1]);
    Time_Start(c, argv[2]);
    std::vector<double> ours, peer, ratios;
    for (int i = 0; i < pairs; ++i) {
        // alternate which side goes first
        const bool oursFirst = i % 2 == 0;
        const double a = Time_Start(c, argv[oursFirst ? 1 : 2]);
        const double b = Time_Start(c, argv[oursFirst ? 2 : 1]);
        const double o = oursFirst ? a : b, p = oursFirst ? b : a;
        if (o < 0 || p < 0) {
            std::fprintf(stderr, "a program ended or showed no window\n");
            return 1;
        }
        ours.push_back(o);
        peer.push_back(p);
        ratios.push_back(o / p);
    }
    std::printf("%s ours median %.1f ms, peer median %.1f ms (%d pairs)\n", name, Median(ours), Median(peer), pairs);
    // the spread of the pairs: a figure means little when the quartiles lie far apart
    std::printf("%s pairs' ratios: quartiles %.2f to %.2f\n", name, Quantile(ratios, 0.25), Quantile(ratios, 0.75));
    std::printf("ratio %s %.2f\n", name, Median(ratios));
    xcb_disconnect(c);
    return 0;
}
