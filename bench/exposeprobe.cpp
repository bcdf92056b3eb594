// Preloaded into a program by bench/startup.sh (LD_PRELOAD): watches the events that
// Qt's X11 plugin reads from the X server and notes when the first window is exposed,
// in milliseconds since BENCH_T0 (seconds since the epoch, as bash's EPOCHREALTIME,
// taken just before exec), and the processor time the process has used until then.
// BENCH_SETTLE_MS later, when the window has been painted and whatever the program does
// right after showing it has run, it appends "<milliseconds> <processor milliseconds>
// <peak resident set in KiB>" to the file BENCH_OUT and ends the process.
// The program itself is not changed: the probe only sits between it and libxcb.

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr unsigned char kExpose = 12;  // XCB_EXPOSE

struct GenericEvent {  // the head of xcb_generic_event_t
    unsigned char responseType;
};

std::atomic<bool> g_seen{false};

double millisecondsSinceStart()
{
    const char* t0 = std::getenv("BENCH_T0");
    const double now =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    return t0 ? (now - std::strtod(t0, nullptr)) * 1000.0 : -1.0;
}

double processorMilliseconds(const rusage& usage)
{
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void reportAndExit(double milliseconds, double processor)
{
    const char* settle = std::getenv("BENCH_SETTLE_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(settle ? std::atoi(settle) : 500));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const char* out = std::getenv("BENCH_OUT");
    if (FILE* file = out ? std::fopen(out, "a") : stderr) {
        std::fprintf(file, "%.1f %.1f %ld\n", milliseconds, processor, usage.ru_maxrss);
        std::fflush(file);
    }
    _exit(0);
}

GenericEvent* watch(GenericEvent* event)
{
    if (event && (event->responseType & 0x7f) == kExpose && !g_seen.exchange(true)) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::thread(reportAndExit, millisecondsSinceStart(), processorMilliseconds(usage)).detach();
    }
    return event;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

using PollFunction = GenericEvent* (*)(void*);

GenericEvent* xcb_wait_for_event(void* connection)
{
    static const auto real = next<PollFunction>("xcb_wait_for_event");
    return watch(real(connection));
}

GenericEvent* xcb_poll_for_event(void* connection)
{
    static const auto real = next<PollFunction>("xcb_poll_for_event");
    return watch(real(connection));
}

GenericEvent* xcb_poll_for_queued_event(void* connection)
{
    static const auto real = next<PollFunction>("xcb_poll_for_queued_event");
    return watch(real(connection));
}
}
