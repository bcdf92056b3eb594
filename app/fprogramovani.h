#pragma once

#include "document/chipprogramming.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace blikon {

// The progress of writing the chip, in a window beside the main window, which stays
// usable: what avrdude does ("Zapisuji", "Ověřuji") and how far (ProgressBar1), or
// that the user's command runs; "Storno" (Command1) stops it. At the end the line
// (Label1) says how it went and Command1 closes the window. "Podrobnosti" (Command2)
// shows everything the programmer's program wrote (Text1).
class FProgramovani : public QDialog {
    Q_OBJECT
public:
    FProgramovani(const ProgrammingRequest& request, AvrdudeInstall install, QWidget* parent = nullptr);

    // Starts writing the chip; the window follows it from then on.
    void start() { job_->start(); }

    [[nodiscard]] bool isRunning() const { return running_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress(AvrdudeProgress progress);
    void showOutcome(const ProgrammingOutcome& outcome);
    void showOutput();

    ChipProgramming* job_;
    QLabel* stateLine_;
    QProgressBar* progressBar_;
    QPushButton* stopOrClose_;
    QPushButton* detailsButton_;
    QPlainTextEdit* outputView_;
    bool running_ = true;
};

// Opens the progress window for the request, with the avrdude that is installed, and
// starts writing the chip.
void showProgramming(const ProgrammingRequest& request, QWidget* parent);

}  // namespace blikon
