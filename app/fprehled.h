#pragma once

#include "codeexcerpt.h"
#include "framecommands.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QTimer;

namespace blikon {

class FBlikon;
class FrameListModel;

// The frame overview of a main window, "Přehled snímků": every frame of its code text in
// order, as a small hexagon with its number, in a window of its own beside the main
// window, not modal. A click puts the editor's cursor on the frame, a double-click or
// Enter also reads it into the tick boxes. Frames are dragged to another place, deleted
// (Delete) and duplicated (Ctrl+D) as a selection; the right mouse button offers these
// and the frame commands of the menu "&Efekty". Every change is one edit of the code
// text that the editor's undo takes back in one step, and "Kód &Zpět" too. The overview
// follows the code text half a second after it last changed. Only the frames in sight
// are painted, so ten thousand frames cost no more than forty. A main window has one
// overview, which closes with it.
class FDeska;

class FPrehled : public QWidget {
    Q_OBJECT
public:
    // Opens the overview of `window` beside it.
    [[nodiscard]] static FPrehled* open(FBlikon& window);
    // The overview of `window` while it is open, else nullptr.
    [[nodiscard]] static FPrehled* of(const FBlikon& window);

public slots:
    // Marks the frame that the board window shows: the frame whose call is the loop's
    // call number `frameIndex` (from 0, as the board counts them); -1 marks none.
    void showBoardFrame(int frameIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FPrehled(FBlikon& window);

    // Marks what `board` shows from now on; nothing for nullptr.
    void followBoard(FDeska* board);

    void buildControls();
    void buildActions();
    QAction* addCommand(const char* name, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> steps);
    void placeBesideWindow();
    void showTitle();

    // The list follows the code text: at once after an edit of its own, else once the
    // text has rested for half a second.
    void refresh();
    void refreshIfStale();
    void showCount();

    // The handlers; each runs through HandlerGuard and fails silently.
    void putCursorOnFrame(int row);
    void readFrame(int row);
    void onCurrentFrame(void (FrameCommands::*command)());
    void deleteSelected();
    void duplicateSelected();
    // The selected frames changed by `edit` as one edit; then the rows that `rowsAfter`
    // gives for the rows that were selected are selected, if any.
    using SelectionEdit = std::function<std::vector<TextChange>(std::string_view, std::span<const FrameInText>)>;
    using RowsAfter = std::function<std::vector<int>(const std::vector<int>& rows)>;
    void editSelected(const SelectionEdit& edit, const RowsAfter& rowsAfter);
    void dropFrames(const QList<int>& rows, int beforeRow);
    std::optional<std::vector<FrameInText>> moveFrame(int from, int to);

    [[nodiscard]] std::vector<int> selectedRows() const;
    [[nodiscard]] std::vector<FrameInText> framesOfRows(const std::vector<int>& rows) const;
    void selectRows(const std::vector<int>& rows);
    void selectFrameAtCursor();

    FBlikon& window_;
    FrameCommands commands_;
    FrameListModel* model_ = nullptr;
    QListView* list_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QTimer* followTimer_ = nullptr;

    std::optional<CodeExcerpt> text_;  // the code text that the list shows
    bool stale_ = true;                // the code text changed since
    std::optional<std::vector<std::size_t>> loopCallLines_;  // of text_, once asked for
    int boardFrame_ = -1;
    bool dropping_ = false;  // a drop's moves make one edit and save the text once
    bool savedForDrop_ = false;
};

// "1 snímek", "3 snímky", "40 snímků"; for none, "Kód nemá žádný snímek."
[[nodiscard]] QString frameCountText(int count);

}  // namespace blikon
