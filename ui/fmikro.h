#pragma once

#include "boardsettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

namespace blikon {

// "Mikrokontrolér": the chip by its code memory, the crystal frequency in MHz, and
// whether generic jumps are always assembled long.
class FMikro : public QDialog {
    Q_OBJECT
public:
    FMikro(const BoardSettings& current, QWidget* parent = nullptr);

    // What the controls show now.
    [[nodiscard]] BoardSettings chosen() const;

private:
    QComboBox* chipChoice_;
    QDoubleSpinBox* crystalInput_;
    QCheckBox* longJumpsBox_;
};

// Shows the dialog with the stored settings and stores the choice when the user confirms.
// Returns false when cancelled; throws when the choice could not be stored.
bool chooseBoard(QWidget* parent);

}  // namespace blikon
