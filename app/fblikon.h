#pragma once

#include "boardstate.h"
#include "documentwindow.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTimer;

namespace blikon {

class CodeDocument;
class CodeEditor;
class CommonDialog;
class LedPanel;
class StatusBar;

// The main window: the LED panel, the block label Label1, the code editor Text1 and the
// menus, each built by a class of its own (FileMenu, SelectMenu, CodeMenu, EditMenu,
// EffectsMenu, BoardMenu, HelpMenu) that holds its handlers. Every instance is
// independent, with its own board, block, code text and saved copy of the code text;
// it deletes itself when closed, its unsaved text kept for "Obnovit zavřený kód…"
// (RecoveryKeeper). The file, print and animation commands see it as a DocumentWindow.
class FBlikon : public QMainWindow, public DocumentWindow {
    Q_OBJECT
public:
    explicit FBlikon(QWidget* parent = nullptr);
    ~FBlikon() override;

    // Opens the first main window of the run, the one the start routine shows; the
    // animation window plays its code text.
    [[nodiscard]] static FBlikon* createFirst();

    // The first main window while it is open, else nullptr. Windows opened later never
    // take its place.
    [[nodiscard]] static FBlikon* first();

    [[nodiscard]] QString codeText() const;  // CR LF line ends
    void setCodeText(const QString& text);
    [[nodiscard]] const QString& savedText() const { return savedText_; }
    [[nodiscard]] const BoardState& board() const { return board_; }
    [[nodiscard]] QString blockCaption() const;
    [[nodiscard]] QWidget* widget() override { return this; }
    [[nodiscard]] CodeEditor* editor() const override { return codeEditor_; }
    [[nodiscard]] CommonDialog* commonDialog() const override { return dialogs_; }
    // The current file name, the saved flag and the title that names the file.
    [[nodiscard]] CodeDocument* document() const override { return document_; }

    // What the menus work on.
    // The whole board at once: each LED that changes goes through its tick box's
    // handler, failing as a click on that box would, then the boxes show `board`.
    void setBoard(const BoardState& board);
    void showBlock(const std::string& block);         // in the block label, for "Přidat >>"
    void saveCodeText() { savedText_ = codeText(); }  // what "Kód &Zpět" goes back to
    // Saves the code text for "Kód &Zpět", then makes `edit` to it. A test may fail the
    // running handler between the two, at "<handler>:saved".
    void editAfterSaving(const std::function<void()>& edit);

    // The buttons' handlers, which the menu "&Kód" calls too.
    void compute();  // "Počítat": the block of the ticked boxes into the block label
    void add();      // "Přidat >>": the shown block and a call line onto the code text

private:
    void buildControls();
    void buildButtons(QWidget* client);
    void buildCodeArea(QWidget* client);
    void buildStatusBar(QWidget* client);
    void buildMenus();
    void setTabOrder();

    // Event handlers; each runs through HandlerGuard with its failure policy.
    void onLedChanged(Led led, LedState state);
    void refreshStatusLine();

    BoardState board_;
    std::string shownBlock_;  // what the block label shows: "Přidat >>" appends it
    QString savedText_;

    LedPanel* panel_ = nullptr;
    QPushButton* computeButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QLabel* blockLabel_ = nullptr;
    CodeEditor* codeEditor_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    CommonDialog* dialogs_ = nullptr;  // the file and colour dialogs
    CodeDocument* document_ = nullptr;
};

}  // namespace blikon
