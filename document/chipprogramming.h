#pragma once

#include "platform/avrdude.h"
#include "platform/subprocess.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace blikon {

// What to write into which chip, and with what.
struct ProgrammingRequest {
    Programmer programmer = Programmer::ArduinoIsp;
    QString port;         // for the Arduino as ISP
    QString command;      // for Programmer::Command, "%f" standing for the HEX file
    QString chipName;     // "AT89S52"
    QByteArray hexText;   // the program as Intel HEX
};

// Where avrdude and Blikon's AT89 part file are.
struct AvrdudeInstall {
    QString program;   // a path, or a name the system's PATH finds
    QString partFile;  // empty when there is none
};

// On Windows the avrdude.exe beside blikon.exe; elsewhere avrdude on the PATH. The part
// file beside the program (Windows, the build folder) or in ../share/blikon (an
// installed Linux program).
[[nodiscard]] AvrdudeInstall installedAvrdude();

// How a programming ended, in a sentence for the user with what to do about it.
struct ProgrammingOutcome {
    bool succeeded = false;
    QString message;
};

// Writes a program into a chip through avrdude or the user's command, as a child
// process that the event loop follows. The HEX text goes to a temporary file that is
// removed when the process has ended. avrdude is asked once per run of the program
// whether it knows the chip (`-p ?`); where it does not, Blikon's part file is added.
//
//     auto* job = new ChipProgramming(request, installedAvrdude(), this);
//     connect(job, &ChipProgramming::finished, this, &Window::showOutcome);
//     job->start();
class ChipProgramming : public QObject {
    Q_OBJECT
public:
    ChipProgramming(ProgrammingRequest request, AvrdudeInstall install, QObject* parent = nullptr);
    ~ChipProgramming() override;

    // Starts the job, also again after it has ended.
    void start();

    // Stops the programmer's process; finished() follows with what that means for the chip.
    void cancel();

    // Everything avrdude (or the command) wrote so far.
    [[nodiscard]] const QByteArray& output() const { return output_; }

    // The folder of the temporary HEX file while the job runs, else empty.
    [[nodiscard]] QString temporaryFolder() const { return folder_ ? folder_->path() : QString(); }

    // Forgets what avrdude said it knows, as if the program had just started.
    static void forgetKnownParts();

signals:
    void progressed(blikon::AvrdudeProgress progress);
    void finished(blikon::ProgrammingOutcome outcome);

private:
    void run(const QString& program, const QStringList& arguments, void (ChipProgramming::*onEnd)(ProcessEnd));
    void programWithAvrdude(const QByteArray& partList);
    void partListRead(ProcessEnd end);
    void avrdudeEnded(ProcessEnd end);
    void commandEnded(ProcessEnd end);
    void finish(bool succeeded, const QString& message);
    [[nodiscard]] QString avrdudeMessage(const AvrdudeResult& result) const;

    ProgrammingRequest request_;
    AvrdudeInstall install_;
    std::optional<QTemporaryDir> folder_;
    std::unique_ptr<ChildProcess> process_;
    QByteArray output_;
    AvrdudeProgressReader progressReader_;
    AvrdudeProgress progress_;
    bool cancelled_ = false;
    bool done_ = false;
};

}  // namespace blikon
