#pragma once

#include "boardsettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace blikon {

// "Mikrokontrolér": the chip by its code memory, the crystal frequency in MHz, and
// whether generic jumps are always assembled long. The crystal field takes a decimal
// comma or dot; leaving it shows the frequency that will be used ("11.0592" becomes
// "11,0592"), and OK refuses text that is no frequency in range with a message, keeping
// the dialog open.
class FMikro : public QDialog {
    Q_OBJECT
public:
    FMikro(const BoardSettings& current, QWidget* parent = nullptr);

    // What the controls show now; the crystal field must hold a frequency in range.
    [[nodiscard]] BoardSettings chosen() const;

    void accept() override;

private:
    void showCrystalInUse();

    QComboBox* chipChoice_;
    QLineEdit* crystalInput_;
    QCheckBox* longJumpsBox_;
};

// Shows the dialog with the stored settings and stores the choice when the user confirms.
// Returns false when cancelled; throws when the choice could not be stored.
bool chooseBoard(QWidget* parent);

}  // namespace blikon
