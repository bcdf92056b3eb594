#include "subprocess.h"

namespace blikon {

QtChildProcess::QtChildProcess()
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    connect(&process_, &QProcess::readyRead, this, [this] { emit output(process_.readAll()); });
    connect(&process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (ended_)
            return;
        ended_ = true;
        if (const QByteArray rest = process_.readAll(); !rest.isEmpty())
            emit output(rest);
        emit finished({status == QProcess::CrashExit ? ProcessEnd::Kind::Crashed : ProcessEnd::Kind::Exited, exitCode});
    });
    // A program that does not start sends no finished(); one that crashes sends both.
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || ended_)
            return;
        ended_ = true;
        emit finished({ProcessEnd::Kind::NotStarted, 0});
    });
}

// QProcess kills and waits for its program when it goes; what it says then goes nowhere.
QtChildProcess::~QtChildProcess() { process_.disconnect(this); }

void QtChildProcess::start(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    process_.setWorkingDirectory(workingFolder);
    process_.start(program, arguments, QIODevice::ReadOnly);
}

void QtChildProcess::stop() { process_.kill(); }

std::unique_ptr<ChildProcess> QtChildProcesses::make() { return std::make_unique<QtChildProcess>(); }

template <>
ChildProcesses& seam<ChildProcesses>()
{
    return activeSeam<ChildProcesses, QtChildProcesses>();
}

}  // namespace blikon
