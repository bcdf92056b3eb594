#include "fprogramator.h"

#include "ui/boardsettings.h"
#include "document/documentwindow.h"
#include "ui/fonts.h"
#include "fprogramovani.h"
#include "document/hexcommands.h"
#include "ui/messageboxes.h"
#include "ui/pictures.h"
#include "platform/serialports.h"
#include "ui/settingsstore.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <stdexcept>

namespace blikon {

namespace {

const QString kSection = QStringLiteral("Programator");
const QString kTypeKey = QStringLiteral("Typ");
const QString kPortKey = QStringLiteral("Port");
const QString kCommandKey = QStringLiteral("Prikaz");

// Combo1's entries, in the order of Programmer.
const QStringList kProgrammerNames{QStringLiteral("Arduino jako ISP (ArduinoISP)"), QStringLiteral("USBasp"),
                                   QStringLiteral("Vlastní příkaz")};

}  // namespace

ProgrammerChoice ProgrammerChoice::load()
{
    const SettingsStore& store = seam<SettingsStore>();
    ProgrammerChoice choice;
    choice.programmer = programmerFromKey(store.read(kSection, kTypeKey, QString())).value_or(Programmer::ArduinoIsp);
    choice.port = store.read(kSection, kPortKey, QString());
    choice.command = store.read(kSection, kCommandKey, QString());
    return choice;
}

bool ProgrammerChoice::save() const
{
    SettingsStore& store = seam<SettingsStore>();
    const bool type = store.save(kSection, kTypeKey, programmerKey(programmer));
    const bool port = store.save(kSection, kPortKey, this->port);
    const bool command = store.save(kSection, kCommandKey, this->command);
    return type && port && command;
}

FProgramator::FProgramator(const QString& chipName, const ProgrammerChoice& current, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FProgramator"));
    setWindowTitle(QStringLiteral("Naprogramovat čip"));
    setWindowIcon(pictures::programIcon());
    setFont(tahomaFont());

    auto* chipLabel = new QLabel(QStringLiteral("Čip: %1").arg(chipName), this);
    chipLabel->setObjectName(QStringLiteral("Label1"));

    programmerChoice_ = new QComboBox(this);
    programmerChoice_->setObjectName(QStringLiteral("Combo1"));
    programmerChoice_->addItems(kProgrammerNames);

    portInput_ = new QComboBox(this);
    portInput_->setObjectName(QStringLiteral("Combo2"));
    portInput_->setEditable(true);
    portInput_->addItems(serialPorts());
    if (!current.port.isEmpty())
        portInput_->setCurrentText(current.port);

    commandInput_ = new QLineEdit(current.command, this);
    commandInput_->setObjectName(QStringLiteral("Text1"));
    commandInput_->setPlaceholderText(QStringLiteral("minipro -p AT89C2051@DIP20 -w %f"));
    commandInput_->setToolTip(QStringLiteral("%f stojí za cestu k souboru HEX s programem"));
    commandInput_->setMinimumWidth(320);

    auto* programmerLabel = new QLabel(QStringLiteral("&Programátor:"), this);
    programmerLabel->setObjectName(QStringLiteral("Label2"));
    programmerLabel->setBuddy(programmerChoice_);
    portLabel_ = new QLabel(QStringLiteral("P&ort:"), this);
    portLabel_->setObjectName(QStringLiteral("Label3"));
    portLabel_->setBuddy(portInput_);
    commandLabel_ = new QLabel(QStringLiteral("Pří&kaz:"), this);
    commandLabel_->setObjectName(QStringLiteral("Label4"));
    commandLabel_->setBuddy(commandInput_);

    auto* form = new QFormLayout;
    form->addRow(chipLabel);
    form->addRow(programmerLabel, programmerChoice_);
    form->addRow(portLabel_, portInput_);
    form->addRow(commandLabel_, commandInput_);

    Programmer programmer = current.programmer;
    if (!blikonPartId(chipName.toStdString())) {
        auto* model = qobject_cast<QStandardItemModel*>(programmerChoice_->model());
        for (const Programmer viaAvrdude : {Programmer::ArduinoIsp, Programmer::Usbasp})
            model->item(int(viaAvrdude))->setEnabled(false);
        programmer = Programmer::Command;
        auto* why = new QLabel(QStringLiteral("%1 se programuje paralelně napětím 12 V, což avrdude neumí. "
                                              "Zvolte „Vlastní příkaz“ s programem svého programátoru "
                                              "(například minipro pro TL866).")
                                   .arg(chipName),
                               this);
        why->setObjectName(QStringLiteral("Label5"));
        why->setWordWrap(true);
        form->addRow(why);
    }
    programmerChoice_->setCurrentIndex(int(programmer));
    connect(programmerChoice_, &QComboBox::currentIndexChanged, this, &FProgramator::showRowsOfProgrammer);
    showRowsOfProgrammer();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* program = buttons->addButton(QStringLiteral("&Naprogramovat"), QDialogButtonBox::AcceptRole);
    program->setObjectName(QStringLiteral("Command1"));
    program->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ProgrammerChoice FProgramator::chosen() const
{
    return {Programmer(programmerChoice_->currentIndex()), portInput_->currentText().trimmed(),
            commandInput_->text().trimmed()};
}

void FProgramator::showRowsOfProgrammer()
{
    const Programmer programmer = Programmer(programmerChoice_->currentIndex());
    portLabel_->setEnabled(programmer == Programmer::ArduinoIsp);
    portInput_->setEnabled(programmer == Programmer::ArduinoIsp);
    commandLabel_->setEnabled(programmer == Programmer::Command);
    commandInput_->setEnabled(programmer == Programmer::Command);
}

void FProgramator::refuse(const QString& message, QWidget* field)
{
    MessageRequest request;
    request.text = message;
    request.icon = MessageRequest::Icon::Stop;
    seam<MessageBoxes>().show(this, request);
    field->setFocus();
}

void FProgramator::accept()
{
    const ProgrammerChoice choice = chosen();
    if (choice.programmer == Programmer::ArduinoIsp && choice.port.isEmpty())
        return refuse(QStringLiteral("Zadejte sériový port, na kterém je Arduino připojeno."), portInput_);
    if (choice.programmer == Programmer::Command && !choice.command.contains(QStringLiteral("%f")))
        return refuse(QStringLiteral("Zadejte příkaz svého programátoru; na místo souboru HEX napište %f."),
                      commandInput_);
    QDialog::accept();
}

void programChip(DocumentWindow& window)
{
    const std::optional<ProgramBuild> build = buildProgramForChip(window);
    if (!build)
        return;
    const QString chipName = QString::fromUtf8(build->board.chip->name.data(), qsizetype(build->board.chip->name.size()));
    FProgramator dialog(chipName, ProgrammerChoice::load(), window.widget());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ProgrammerChoice choice = dialog.chosen();
    if (!choice.save())
        throw std::runtime_error("the programmer choice could not be stored");
    ProgrammingRequest request{choice.programmer, choice.port, choice.command, chipName,
                               QByteArray::fromStdString(build->assembly.hex())};
    showProgramming(request, window.widget());
}

}  // namespace blikon
