#include "chipprogramming.h"

#include "ui/boardsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace blikon {

namespace {

const QString kHexFileName = QStringLiteral("program.hex");
const QString kPartFileName = QStringLiteral("blikon-at89.conf");

// avrdude's answers to -p ?, by the avrdude asked.
QHash<QString, QByteArray>& knownParts()
{
    static QHash<QString, QByteArray> parts;
    return parts;
}

QString avrdudeMissingMessage(const QString& program)
{
#ifdef Q_OS_WIN
    return QStringLiteral("Program avrdude (%1) se nepodařilo spustit. Patří vedle blikon.exe: "
                          "nainstalujte Blikon znovu.")
        .arg(QDir::toNativeSeparators(program));
#else
    Q_UNUSED(program);
    return QStringLiteral("Program avrdude není nainstalován. Nainstalujte jej příkazem "
                          "„sudo apt install avrdude“ a zkuste to znovu.");
#endif
}

QString portMessage(const QString& detail)
{
#ifdef Q_OS_WIN
    const QString fix = QStringLiteral("Je programátor připojen, je zvolen jeho port a nedrží ho jiný program "
                                       "(například Arduino IDE)?");
#else
    const QString fix = QStringLiteral("Je programátor připojen a je zvolen jeho port? Hlásí-li systém "
                                       "„Permission denied“, přidejte svůj účet do skupiny dialout "
                                       "(sudo usermod -aG dialout $USER) a přihlaste se znovu.");
#endif
    return QStringLiteral("Sériový port nelze otevřít (%1). ").arg(detail) + fix;
}

QString noUsbaspMessage()
{
#ifdef Q_OS_WIN
    const QString fix = QStringLiteral("Je připojen a má ovladač libusb (například z programu Zadig)?");
#else
    const QString fix = QStringLiteral("Je připojen? Nemá-li k němu váš účet přístup, připojte jej znovu po "
                                       "instalaci balíčku Blikon: jeho pravidlo udev přístup dává.");
#endif
    return QStringLiteral("Programátor USBasp nebyl nalezen. ") + fix;
}

}  // namespace

AvrdudeInstall installedAvrdude()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    AvrdudeInstall install;
#ifdef Q_OS_WIN
    const QString besideBlikon = programFolder.filePath(QStringLiteral("avrdude.exe"));
    install.program = QFileInfo::exists(besideBlikon) ? besideBlikon : QStringLiteral("avrdude.exe");
#else
    install.program = QStringLiteral("avrdude");
#endif
    for (const QString& candidate : {programFolder.filePath(kPartFileName),
                                     programFolder.filePath(QStringLiteral("../share/blikon/") + kPartFileName)}) {
        if (QFileInfo::exists(candidate)) {
            install.partFile = QDir::cleanPath(candidate);
            break;
        }
    }
    return install;
}

ChipProgramming::ChipProgramming(ProgrammingRequest request, AvrdudeInstall install, QObject* parent)
    : QObject(parent)
    , request_(std::move(request))
    , install_(std::move(install))
{
}

ChipProgramming::~ChipProgramming()
{
    if (process_)
        process_->disconnect(this);
}

void ChipProgramming::forgetKnownParts() { knownParts().clear(); }

void ChipProgramming::start()
{
    output_.clear();
    progressReader_ = {};
    progress_ = {};
    cancelled_ = false;
    done_ = false;
    folder_.emplace();
    QFile hexFile(folder_->filePath(kHexFileName));
    if (!folder_->isValid() || !hexFile.open(QIODevice::WriteOnly) || hexFile.write(request_.hexText) != request_.hexText.size()
        || !hexFile.flush()) {
        finish(false, QStringLiteral("Dočasný soubor HEX nelze zapsat (%1).").arg(hexFile.errorString()));
        return;
    }
    hexFile.close();

    if (request_.programmer == Programmer::Command) {
        const QStringList command = customCommandLine(request_.command, hexFile.fileName());
        if (command.isEmpty()) {
            finish(false, QStringLiteral("Zadejte příkaz, který čip naprogramuje."));
            return;
        }
        run(command.first(), command.mid(1), &ChipProgramming::commandEnded);
    } else if (const auto known = knownParts().constFind(install_.program); known != knownParts().cend()) {
        programWithAvrdude(*known);
    } else {
        run(install_.program, {QStringLiteral("-p"), QStringLiteral("?")}, &ChipProgramming::partListRead);
    }
}

void ChipProgramming::cancel()
{
    if (!process_ || done_)
        return;
    cancelled_ = true;
    process_->stop();
}

void ChipProgramming::run(const QString& program, const QStringList& arguments, void (ChipProgramming::*onEnd)(ProcessEnd))
{
    process_ = seam<ChildProcesses>().make();
    connect(process_.get(), &ChildProcess::output, this, [this](const QByteArray& bytes) {
        output_ += bytes;
        const AvrdudeProgress progress = progressReader_.feed(bytes);
        if (progress != progress_) {
            progress_ = progress;
            emit progressed(progress);
        }
    });
    connect(process_.get(), &ChildProcess::finished, this, onEnd, Qt::QueuedConnection);
    process_->start(program, arguments, folder_->path());
}

void ChipProgramming::partListRead(ProcessEnd end)
{
    if (cancelled_) {
        finish(false, QStringLiteral("Programování bylo přerušeno; do čipu se nic nezapsalo."));
        return;
    }
    if (end.kind == ProcessEnd::Kind::NotStarted) {
        finish(false, avrdudeMissingMessage(install_.program));
        return;
    }
    knownParts().insert(install_.program, output_);
    programWithAvrdude(output_);
}

void ChipProgramming::programWithAvrdude(const QByteArray& partList)
{
    const std::optional<QString> builtIn = builtInPartId(partList, request_.chipName);
    output_.clear();  // the details show the programming alone
    QString partId;
    QString partFile;
    if (builtIn) {
        partId = *builtIn;
    } else {
        partId = blikonPartId(request_.chipName.toStdString()).value_or(QString());
        partFile = install_.partFile;
        if (partFile.isEmpty() || partId.isEmpty()) {
            finish(false, QStringLiteral("Soubor %1, který avrdude popisuje čip %2, chybí: nainstalujte Blikon znovu.")
                              .arg(kPartFileName, request_.chipName));
            return;
        }
    }
    run(install_.program, avrdudeArguments(request_.programmer, request_.port, partId, partFile, kHexFileName),
        &ChipProgramming::avrdudeEnded);
}

void ChipProgramming::avrdudeEnded(ProcessEnd end)
{
    if (cancelled_) {
        finish(false, progress_.phase == AvrdudeProgress::Phase::Starting
                          ? QStringLiteral("Programování bylo přerušeno dřív, než se do čipu zapisovalo; čip může "
                                           "být smazaný.")
                          : QStringLiteral("Programování bylo přerušeno. Čip může být zapsán jen zčásti: "
                                           "naprogramujte jej znovu, než jej použijete."));
        return;
    }
    switch (end.kind) {
    case ProcessEnd::Kind::NotStarted:
        finish(false, avrdudeMissingMessage(install_.program));
        return;
    case ProcessEnd::Kind::Crashed:
        finish(false, QStringLiteral("Program avrdude byl nečekaně ukončen. Čip může být zapsán jen zčásti: "
                                     "naprogramujte jej znovu."));
        return;
    case ProcessEnd::Kind::Exited:
        break;
    }
    const AvrdudeResult result = readAvrdudeResult(output_, end.exitCode);
    finish(result.kind == AvrdudeResult::Kind::Verified, avrdudeMessage(result));
}

QString ChipProgramming::avrdudeMessage(const AvrdudeResult& result) const
{
    const QString& chip = request_.chipName;
    switch (result.kind) {
    case AvrdudeResult::Kind::Verified:
        return QStringLiteral("Čip %1 je naprogramován a ověřen (%2 %3).")
            .arg(chip, groupedNumber(result.bytes), bytesWord(result.bytes));
    case AvrdudeResult::Kind::PortNotOpened:
        return portMessage(result.detail);
    case AvrdudeResult::Kind::NoAnswer:
        return QStringLiteral("Programátor na portu %1 neodpovídá. Je to Arduino s nahraným příkladem ArduinoISP "
                              "a je zvolen jeho port?")
            .arg(request_.port);
    case AvrdudeResult::Kind::NoUsbasp:
        return noUsbaspMessage();
    case AvrdudeResult::Kind::ChipSilent:
        return QStringLiteral("Programátor odpověděl, čip %1 ne (podpis %2). Zkontrolujte zapojení vodičů, "
                              "napájení 5 V a krystal čipu.")
            .arg(chip, result.detail);
    case AvrdudeResult::Kind::WrongSignature:
        return QStringLiteral("V programátoru je jiný čip než %1: jeho podpis je %2, %1 má %3. Do čipu se nic "
                              "nezapsalo. Vložte %1, nebo zvolte správný čip v „Mikrokontrolér...“.")
            .arg(chip, result.detail, chipSignature(chip.toStdString()));
    case AvrdudeResult::Kind::VerifyMismatch:
        return QStringLiteral("Ověření selhalo: na adrese %1 čip vrací jiný bajt, než se zapsal. Zkuste to znovu "
                              "s kratšími vodiči a stálým napájením; opakuje-li se to, je čip vadný.")
            .arg(result.detail);
    case AvrdudeResult::Kind::Failed:
        break;
    }
    return QStringLiteral("Program avrdude skončil s chybou (návratový kód %1). Co hlásil, ukazují Podrobnosti.")
        .arg(result.exitStatus);
}

void ChipProgramming::commandEnded(ProcessEnd end)
{
    const QString program = customCommandLine(request_.command, QString()).value(0);
    if (cancelled_) {
        finish(false, QStringLiteral("Příkaz byl přerušen. Čip může být zapsán jen zčásti: naprogramujte jej znovu."));
        return;
    }
    switch (end.kind) {
    case ProcessEnd::Kind::NotStarted:
        finish(false, QStringLiteral("Příkaz „%1“ se nepodařilo spustit: program nebyl nalezen. Zadejte jeho celou "
                                     "cestu, nebo jej nainstalujte.")
                          .arg(program));
        return;
    case ProcessEnd::Kind::Crashed:
        finish(false, QStringLiteral("Příkaz „%1“ byl nečekaně ukončen.").arg(program));
        return;
    case ProcessEnd::Kind::Exited:
        break;
    }
    if (end.exitCode != 0) {
        finish(false, QStringLiteral("Příkaz „%1“ skončil s chybou (návratový kód %2). Co hlásil, ukazují Podrobnosti.")
                          .arg(program)
                          .arg(end.exitCode));
        return;
    }
    finish(true, QStringLiteral("Příkaz „%1“ skončil bez chyby.").arg(program));
}

void ChipProgramming::finish(bool succeeded, const QString& message)
{
    done_ = true;
    folder_.reset();  // the temporary HEX file goes with its folder
    emit finished({succeeded, message});
}

}  // namespace blikon
