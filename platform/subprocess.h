#pragma once

#include "platform/seam.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace blikon {

// How a child process ended.
struct ProcessEnd {
    enum class Kind { NotStarted, Crashed, Exited };
    Kind kind = Kind::Exited;
    int exitCode = 0;  // for Exited
};

// A program run beside this one, which the event loop follows: nothing here waits.
class ChildProcess : public QObject {
    Q_OBJECT
public:
    // Starts `program` with `arguments` in `workingFolder`. What it writes, to its
    // output and its error output alike, comes as output(); its end, also when it did
    // not start, as finished(), once.
    virtual void start(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;

    // Ends the program at once; finished() follows.
    virtual void stop() = 0;

signals:
    void output(const QByteArray& bytes);
    void finished(blikon::ProcessEnd end);
};

// The seam that makes child processes.
class ChildProcesses {
public:
    virtual ~ChildProcesses() = default;
    [[nodiscard]] virtual std::unique_ptr<ChildProcess> make() = 0;
};

// The program's ChildProcesses: the real one, or the one a test has put in (replaceSeam).
template <>
ChildProcesses& seam<ChildProcesses>();

// A QProcess with both outputs merged.
class QtChildProcess final : public ChildProcess {
    Q_OBJECT
public:
    QtChildProcess();
    ~QtChildProcess() override;  // kills a program that still runs
    void start(const QString& program, const QStringList& arguments, const QString& workingFolder) override;
    void stop() override;

private:
    QProcess process_;
    bool ended_ = false;
};

class QtChildProcesses final : public ChildProcesses {
public:
    [[nodiscard]] std::unique_ptr<ChildProcess> make() override;
};

}  // namespace blikon
