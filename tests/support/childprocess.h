#pragma once

#include <QTest>

#include <cstdio>
#include <functional>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace blikon::testing {

// Runs `checks` (QCOMPARE and the like) in a copy of this process that may take only
// `moreBytes` of memory beyond what it has and `seconds` of time, so that code which
// runs away (reads an endless device, waits on a pipe for ever) fails the test and not
// the machine. Returns whether the checks passed there; a failed check has printed its
// message. Elsewhere than on Linux (Windows) the checks run in this process, unlimited.
// Example: QVERIFY(passesInChildProcess([&] { trigger("mnuOpen"); checkShown(); }));
inline bool passesInChildProcess(const std::function<void()>& checks, unsigned long long moreBytes = 512ull << 20,
                                 unsigned seconds = 60)
{
#ifdef Q_OS_LINUX
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // The limit counts address space, which the sanitizers reserve by the terabyte:
        // it is set above what the process holds already.
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlimit memory{rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + moreBytes, RLIM_INFINITY};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &memory) != 0)
            ::_exit(3);
        ::alarm(seconds);
        checks();
        std::fflush(nullptr);
        ::_exit(QTest::currentTestFailed() ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    if (WIFSIGNALED(status))
        qWarning("the child process was ended by signal %d", WTERMSIG(status));
    else if (WEXITSTATUS(status) == 3)
        qWarning("the child process could not limit its memory");
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#else
    Q_UNUSED(moreBytes);
    Q_UNUSED(seconds);
    checks();
    return !QTest::currentTestFailed();
#endif
}

}  // namespace blikon::testing
