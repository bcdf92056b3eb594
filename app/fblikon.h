#pragma once

#include "boardstate.h"
#include "documentwindow.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace blikon {

class CodeDocument;
class CodeEditor;
class CommonDialog;
class LedPanel;
class StatusBar;

// The main window: the LED panel, the block label Label1, the code editor Text1 and
// the menus. Every instance is independent, with its own board, block, code text and
// saved copy of the code text; it deletes itself when closed. The file, print and
// animation commands see it as a DocumentWindow.
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
    [[nodiscard]] CodeEditor* editor() const override { return editor_; }
    [[nodiscard]] CommonDialog* commonDialog() const override { return commonDialog1_; }
    // The current file name, the saved flag and the title that names the file.
    [[nodiscard]] CodeDocument* document() const override { return document_; }

    // Menu commands that other windows' code opens; set by the program at start-up so
    // that the main window does not depend on every window it can open.
    struct Commands {
        std::function<void(FBlikon&)> newWindow, open, save, saveAs, animation, print, help, about, web;
    };
    static void setCommands(Commands commands);

    // For the menus built in classes of their own (EffectsMenu, BoardMenu): the menu-bar helpers,
    // whose shortcuts also win inside the editor, and what their commands work on.
    QMenu* addMenu(QMenu* parent, const char* name, const QString& caption);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     std::function<void()> handler);
    void addSeparator(QMenu* menu, const char* name);
    [[nodiscard]] LedPanel& panel() const { return *panel_; }
    void showBlock(const QString& block);                  // in Label1
    void saveCodeText() { savedText_ = codeText(); }       // what "Kód &Zpět" goes back to

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();

    // Event handlers; each runs through HandlerGuard with its failure policy.
    void onLedChanged(Led led, LedState state);
    void compute();
    void add();
    void addStartTemplate();
    void addEndTemplate();
    void undo();
    void selectWholeCode();
    void tickAll(bool ticked);
    void tickGroup(int group);
    void tickLed(Led led);
    void refreshStatusLine();

    void runCommand(const std::function<void(FBlikon&)>& command);

    BoardState board_;
    QString savedText_;

    LedPanel* panel_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QLabel* label1_ = nullptr;
    CodeEditor* editor_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QTimer* timer1_ = nullptr;
    CommonDialog* commonDialog1_ = nullptr;
    CodeDocument* document_ = nullptr;
    QList<QKeySequence> menuShortcuts_;
};

}  // namespace blikon
