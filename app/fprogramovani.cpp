#include "fprogramovani.h"

#include "ui/fonts.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace blikon {

FProgramovani::FProgramovani(const ProgrammingRequest& request, AvrdudeInstall install, QWidget* parent)
    : QDialog(parent)
    , job_(new ChipProgramming(request, std::move(install), this))
{
    setObjectName(QStringLiteral("FProgramovani"));
    setWindowTitle(QStringLiteral("Programování čipu %1").arg(request.chipName));
    setWindowIcon(pictures::programIcon());
    setFont(tahomaFont());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    const bool viaCommand = request.programmer == Programmer::Command;
    stateLine_ = new QLabel(viaCommand ? QStringLiteral("Běží příkaz…") : QStringLiteral("Připojuji se k programátoru…"), this);
    stateLine_->setObjectName(QStringLiteral("Label1"));
    stateLine_->setWordWrap(true);
    stateLine_->setMinimumWidth(360);
    stateLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, viaCommand ? 0 : 100);  // a command tells nothing of its progress
    progressBar_->setValue(0);

    stopOrClose_ = new QPushButton(QStringLiteral("Storno"), this);
    stopOrClose_->setObjectName(QStringLiteral("Command1"));
    stopOrClose_->setDefault(true);
    detailsButton_ = new QPushButton(QStringLiteral("&Podrobnosti"), this);
    detailsButton_->setObjectName(QStringLiteral("Command2"));
    detailsButton_->setCheckable(true);

    outputView_ = new QPlainTextEdit(this);
    outputView_->setObjectName(QStringLiteral("Text1"));
    outputView_->setReadOnly(true);
    outputView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    outputView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    outputView_->setMinimumHeight(180);
    outputView_->setVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(detailsButton_);
    buttons->addStretch();
    buttons->addWidget(stopOrClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stateLine_);
    layout->addWidget(progressBar_);
    layout->addLayout(buttons);
    layout->addWidget(outputView_, 1);

    connect(stopOrClose_, &QPushButton::clicked, this, [this] { running_ ? job_->cancel() : (void)close(); });
    connect(detailsButton_, &QPushButton::toggled, this, [this](bool shown) {
        outputView_->setVisible(shown);
        showOutput();
        adjustSize();
    });
    connect(job_, &ChipProgramming::progressed, this, &FProgramovani::showProgress);
    connect(job_, &ChipProgramming::finished, this, &FProgramovani::showOutcome);
}

void FProgramovani::showProgress(AvrdudeProgress progress)
{
    switch (progress.phase) {
    case AvrdudeProgress::Phase::Starting:
        return;
    case AvrdudeProgress::Phase::Writing:
        stateLine_->setText(QStringLiteral("Zapisuji… %1 %").arg(progress.percent));
        break;
    case AvrdudeProgress::Phase::Verifying:
        stateLine_->setText(QStringLiteral("Ověřuji… %1 %").arg(progress.percent));
        break;
    }
    progressBar_->setValue(progress.percent);
    if (outputView_->isVisible())
        showOutput();
}

void FProgramovani::showOutput()
{
    outputView_->setPlainText(QString::fromLocal8Bit(job_->output()));
    outputView_->verticalScrollBar()->setValue(outputView_->verticalScrollBar()->maximum());
}

void FProgramovani::showOutcome(const ProgrammingOutcome& outcome)
{
    running_ = false;
    stateLine_->setText(outcome.message);
    progressBar_->setRange(0, 100);
    progressBar_->setValue(outcome.succeeded ? 100 : progressBar_->value());
    stopOrClose_->setText(QStringLiteral("Zavřít"));
    showOutput();
}

void FProgramovani::closeEvent(QCloseEvent* event)
{
    if (running_)
        job_->cancel();  // the process ends with the window
    event->accept();
}

void showProgramming(const ProgrammingRequest& request, QWidget* parent)
{
    auto* window = new FProgramovani(request, installedAvrdude(), parent);
    window->show();
    window->start();
}

}  // namespace blikon
