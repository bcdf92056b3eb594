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

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    for (const mcs51::Chip& chip : mcs51::chips()) {
        combo1_->addItem(chipCaption(chip));
        if (&chip == current.chip)
            combo1_->setCurrentIndex(combo1_->count() - 1);
    }

    text1_ = new QDoubleSpinBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    text1_->setDecimals(4);
    text1_->setRange(kMinCrystalMHz, kMaxCrystalMHz);
    text1_->setSuffix(QStringLiteral(" MHz"));
    text1_->setValue(current.crystalMHz);

    check1_ = new QCheckBox(QStringLiteral("&Vždy dlouhé skoky (LCALL, LJMP)"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setChecked(current.longJumps);

    auto* chipLabel = new QLabel(QStringLiteral("&Obvod:"), this);
    chipLabel->setBuddy(combo1_);
    auto* crystalLabel = new QLabel(QStringLiteral("&Krystal:"), this);
    crystalLabel->setBuddy(text1_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(chipLabel, combo1_);
    form->addRow(crystalLabel, text1_);
    form->addRow(check1_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

BoardSettings FMikro::chosen() const
{
    BoardSettings settings;
    settings.chip = &mcs51::chips()[std::size_t(combo1_->currentIndex())];
    settings.crystalMHz = text1_->value();
    settings.longJumps = check1_->isChecked();
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
