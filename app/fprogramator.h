#pragma once

#include "platform/avrdude.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;

namespace blikon {

class DocumentWindow;

// The programmer the user chose last, stored in the section "Programator": "Typ"
// ("arduino", "usbasp", "prikaz"; the Arduino as ISP when missing or unknown), "Port"
// and "Prikaz".
struct ProgrammerChoice {
    Programmer programmer = Programmer::ArduinoIsp;
    QString port;
    QString command;

    [[nodiscard]] static ProgrammerChoice load();
    bool save() const;  // false when the store could not be written
};

// "Naprogramovat čip": the chip chosen in "Mikrokontrolér...", the programmer (Combo1),
// its serial port (Combo2, the system's ports to choose from or typed) or the user's
// command (Text1, "%f" for the HEX file). For a chip that avrdude cannot program the
// avrdude programmers are disabled and a line says why. "&Naprogramovat" refuses an
// empty port or a command without "%f" with a message and keeps the dialog open.
class FProgramator : public QDialog {
    Q_OBJECT
public:
    FProgramator(const QString& chipName, const ProgrammerChoice& current, QWidget* parent = nullptr);

    [[nodiscard]] ProgrammerChoice chosen() const;

    void accept() override;

private:
    void showRowsOfProgrammer();
    void refuse(const QString& message, QWidget* field);

    QComboBox* programmerChoice_;
    QComboBox* portInput_;
    QLineEdit* commandInput_;
    QLabel* portLabel_;
    QLabel* commandLabel_;
};

// "Naprogramovat čip…": assembles the code text as F9 does (refusing an empty program
// and one larger than the chip), asks for the programmer and, when the user confirms,
// stores the choice and opens the progress window, which runs beside the main window.
void programChip(DocumentWindow& window);

}  // namespace blikon
