#include "fmikro.h"

#include "fonts.h"
#include "messageboxes.h"
#include "pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace blikon {

namespace {

QString chipCaption(const mcs51::Chip& chip)
{
    const QString name = QString::fromUtf8(chip.name.data(), qsizetype(chip.name.size()));
    const QString memory = QStringLiteral("%1 KB").arg(chip.codeBytes / 1024);
    // The catch-all entry names its memory already.
    return name.contains(memory) ? name : QStringLiteral("%1 (%2)").arg(name, memory);
}

}  // namespace

FMikro::FMikro(const BoardSettings& current, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FMikro"));
    setWindowTitle(QStringLiteral("Mikrokontrolér"));
    setWindowIcon(pictures::programIcon());
    setFont(tahomaFont());

    chipChoice_ = new QComboBox(this);
    chipChoice_->setObjectName(QStringLiteral("Combo1"));
    for (const mcs51::Chip& chip : mcs51::chips()) {
        chipChoice_->addItem(chipCaption(chip));
        if (&chip == current.chip)
            chipChoice_->setCurrentIndex(chipChoice_->count() - 1);
    }

    crystalInput_ = new QLineEdit(crystalText(current.crystalMHz), this);
    crystalInput_->setObjectName(QStringLiteral("Text1"));
    crystalInput_->setMaxLength(20);
    crystalInput_->setToolTip(QStringLiteral("Od %1 do %2 MHz, s desetinnou čárkou nebo tečkou")
                                  .arg(crystalText(kMinCrystalMHz), crystalText(kMaxCrystalMHz)));
    connect(crystalInput_, &QLineEdit::editingFinished, this, &FMikro::showCrystalInUse);

    longJumpsBox_ = new QCheckBox(QStringLiteral("&Vždy dlouhé skoky (LCALL, LJMP)"), this);
    longJumpsBox_->setObjectName(QStringLiteral("Check1"));
    longJumpsBox_->setChecked(current.longJumps);

    auto* chipLabel = new QLabel(QStringLiteral("&Obvod:"), this);
    chipLabel->setObjectName(QStringLiteral("Label1"));
    chipLabel->setBuddy(chipChoice_);
    auto* crystalLabel = new QLabel(QStringLiteral("&Krystal:"), this);
    crystalLabel->setObjectName(QStringLiteral("Label2"));
    crystalLabel->setBuddy(crystalInput_);
    auto* crystalUnit = new QLabel(QStringLiteral("MHz"), this);
    crystalUnit->setObjectName(QStringLiteral("Label3"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* crystalRow = new QHBoxLayout;
    crystalRow->addWidget(crystalInput_);
    crystalRow->addWidget(crystalUnit);
    auto* form = new QFormLayout;
    form->addRow(chipLabel, chipChoice_);
    form->addRow(crystalLabel, crystalRow);
    form->addRow(longJumpsBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

BoardSettings FMikro::chosen() const
{
    BoardSettings settings;
    settings.chip = &mcs51::chips()[std::size_t(chipChoice_->currentIndex())];
    const Expected<double, QString> crystal = parseCrystalMHz(crystalInput_->text());
    if (!crystal)
        throw std::invalid_argument("the crystal field holds no frequency in range");
    settings.crystalMHz = *crystal;
    settings.longJumps = longJumpsBox_->isChecked();
    return settings;
}

void FMikro::showCrystalInUse()
{
    if (const Expected<double, QString> crystal = parseCrystalMHz(crystalInput_->text()))
        crystalInput_->setText(crystalText(*crystal));
}

void FMikro::accept()
{
    const Expected<double, QString> crystal = parseCrystalMHz(crystalInput_->text());
    if (!crystal) {
        MessageRequest request;
        request.text = crystal.error();
        request.icon = MessageRequest::Icon::Stop;
        seam<MessageBoxes>().show(this, request);
        crystalInput_->setFocus();
        crystalInput_->selectAll();
        return;
    }
    crystalInput_->setText(crystalText(*crystal));
    QDialog::accept();
}

bool chooseBoard(QWidget* parent)
{
    FMikro dialog(BoardSettings::load(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!dialog.chosen().save())
        throw std::runtime_error("the board settings could not be stored");
    return true;
}

}  // namespace blikon
