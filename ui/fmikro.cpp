#include "fmikro.h"

#include "fonts.h"
#include "pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
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

    crystalInput_ = new QDoubleSpinBox(this);
    crystalInput_->setObjectName(QStringLiteral("Text1"));
    crystalInput_->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    crystalInput_->setDecimals(4);
    crystalInput_->setRange(kMinCrystalMHz, kMaxCrystalMHz);
    crystalInput_->setSuffix(QStringLiteral(" MHz"));
    crystalInput_->setValue(current.crystalMHz);

    longJumpsBox_ = new QCheckBox(QStringLiteral("&Vždy dlouhé skoky (LCALL, LJMP)"), this);
    longJumpsBox_->setObjectName(QStringLiteral("Check1"));
    longJumpsBox_->setChecked(current.longJumps);

    auto* chipLabel = new QLabel(QStringLiteral("&Obvod:"), this);
    chipLabel->setBuddy(chipChoice_);
    auto* crystalLabel = new QLabel(QStringLiteral("&Krystal:"), this);
    crystalLabel->setBuddy(crystalInput_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(chipLabel, chipChoice_);
    form->addRow(crystalLabel, crystalInput_);
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
    settings.crystalMHz = crystalInput_->value();
    settings.longJumps = longJumpsBox_->isChecked();
    return settings;
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
