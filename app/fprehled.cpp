#include "fprehled.h"

#include "codeeditor.h"
#include "czechwording.h"
#include "fblikon.h"
#include "fdeska.h"
#include "framelistmodel.h"
#include "framethumbnail.h"
#include "handlerguard.h"
#include "pictures.h"
#include "programlayout.h"
#include "windowplacement.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace blikon {

namespace {

constexpr int kFollowDelayMs = 500;  // after the code text last changed
constexpr int kWidth = 420;
constexpr int kMinimumHeight = 320;

// A list of frames that lays its rows out left to right in lines, and drops dragged
// frames between frames: `drop` gets the selected rows and the row they go before.
class FrameListView : public QListView {
public:
    using Drop = std::function<void(const QList<int>& rows, int beforeRow)>;

    FrameListView(Drop drop, QWidget* parent)
        : QListView(parent)
        , drop_(std::move(drop))
    {
    }

protected:
    void dropEvent(QDropEvent* event) override
    {
        if (event->source() != this) {
            event->ignore();
            return;
        }
        QList<int> rows;
        for (const QModelIndex& index : selectionModel()->selectedIndexes())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        drop_(rows, rowBefore(event->position().toPoint()));
        // The rows moved in the model; nothing is left for the drag to remove.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        QDragLeaveEvent leave;  // ends the drag's state and its scrolling
        QListView::dragLeaveEvent(&leave);
    }

private:
    // The row that a drop at `point` goes before: a frame's left half before it, its
    // right half after it, space right of a frame after it, space below the last frame
    // after that.
    int rowBefore(QPoint point) const
    {
        const QModelIndex index = indexAt(point);
        if (index.isValid())
            return point.x() < visualRect(index).center().x() ? index.row() : index.row() + 1;
        for (QPoint left = point; left.x() >= 0; left.rx() -= kSearchStep)
            if (const QModelIndex before = indexAt(left); before.isValid())
                return before.row() + 1;
        return model()->rowCount();
    }

    static constexpr int kSearchStep = 4;  // pixels, less than the space between frames

    Drop drop_;
};

// The edits made while it lives are one step of the editor's undo, also when a step
// fails.
class OneEdit {
public:
    explicit OneEdit(QTextDocument& document)
        : cursor_(&document)
    {
        cursor_.beginEditBlock();
    }
    ~OneEdit() { cursor_.endEditBlock(); }
    OneEdit(const OneEdit&) = delete;
    OneEdit& operator=(const OneEdit&) = delete;

private:
    QTextCursor cursor_;
};

}  // namespace

QString frameCountText(int count)
{
    if (count == 0)
        return QStringLiteral("Kód nemá žádný snímek.");
    const std::string_view noun = czech::plural(count, "snímek", "snímky", "snímků");
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(noun.data(), qsizetype(noun.size()));
}

FPrehled* FPrehled::open(FBlikon& window)
{
    auto* overview = new FPrehled(window);
    overview->placeBesideWindow();
    overview->show();
    return overview;
}

FPrehled* FPrehled::of(const FBlikon& window)
{
    return window.findChild<FPrehled*>(QStringLiteral("FPrehled"), Qt::FindDirectChildrenOnly);
}

FPrehled::FPrehled(FBlikon& window)
    : QWidget(&window, Qt::Window)
    , window_(window)
    , commands_(window)
{
    setObjectName(QStringLiteral("FPrehled"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(pictures::programIcon());
    showTitle();
    connect(&window_, &QWidget::windowTitleChanged, this, &FPrehled::showTitle);

    buildControls();
    buildActions();

    followTimer_ = new QTimer(this);
    followTimer_->setObjectName(QStringLiteral("Timer1"));
    followTimer_->setSingleShot(true);
    followTimer_->setInterval(kFollowDelayMs);
    connect(followTimer_, &QTimer::timeout, this, [this] {
        HandlerGuard::run(this, "Timer1_Timer", OnFailure::Silent, [this] { refresh(); });
    });
    connect(window_.editor(), &QPlainTextEdit::textChanged, this, [this] {
        stale_ = true;
        followTimer_->start();
    });
    refresh();

    // The board window, a child of the main window, may open before the overview or
    // after it: follow the one there is, and each one that comes.
    followBoard(FDeska::of(window_));
    window_.installEventFilter(this);
}

bool FPrehled::eventFilter(QObject* watched, QEvent* event)
{
    // A child is polished when it is shown, by then constructed as what it is.
    if (watched == &window_ && event->type() == QEvent::ChildPolished)
        followBoard(qobject_cast<FDeska*>(static_cast<QChildEvent*>(event)->child()));
    return QWidget::eventFilter(watched, event);
}

void FPrehled::followBoard(FDeska* board)
{
    if (board)
        connect(board, &FDeska::frameShown, this, &FPrehled::showBoardFrame, Qt::UniqueConnection);
}

void FPrehled::buildControls()
{
    model_ = new FrameListModel(this);
    model_->setMover([this](int from, int to) { return moveFrame(from, to); });

    auto* list = new FrameListView([this](const QList<int>& rows, int beforeRow) { dropFrames(rows, beforeRow); },
                                   this);
    list_ = list;
    list_->setObjectName(QStringLiteral("List1"));
    list_->setModel(model_);
    list_->setItemDelegate(new FrameThumbnailDelegate(list_));
    list_->setViewMode(QListView::ListMode);
    list_->setFlow(QListView::LeftToRight);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(true);
    list_->setSpacing(2);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->setDropIndicatorShown(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) {
        HandlerGuard::run(this, "List1_Click", OnFailure::Silent, [this, index] { putCursorOnFrame(index.row()); });
    });
    connect(list_, &QListView::activated, this, [this](const QModelIndex& index) {
        HandlerGuard::run(this, "List1_DblClick", OnFailure::Silent, [this, index] { readFrame(index.row()); });
    });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        if (list_->indexAt(point).isValid())
            contextMenu_->popup(list_->viewport()->mapToGlobal(point));
    });

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("Label1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(list_, 1);
    layout->addWidget(countLabel_);
}

// The right mouse button's menu; its items act on the frame under the mouse, Smazat and
// Zdvojit on every selected frame. Esc closes the overview.
void FPrehled::buildActions()
{
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("mnuSnimek"));
    addCommand("mnuNacist", QStringLiteral("&Načíst snímek z kódu"), {},
               [this] { readFrame(list_->currentIndex().row()); });
    contextMenu_->addSeparator()->setObjectName(QStringLiteral("mnuMezera1"));
    addCommand("mnuVlozit", QStringLiteral("&Vložit snímek před"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Insert),
               [this] { onCurrentFrame(&FrameCommands::insertFrame); });
    addCommand("mnuSmazat", QStringLiteral("&Smazat snímek"), QKeySequence(Qt::Key_Delete),
               [this] { deleteSelected(); });
    addCommand("mnuNahoru", QStringLiteral("Posunout &nahoru"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up),
               [this] { onCurrentFrame(&FrameCommands::moveFrameUp); });
    addCommand("mnuDolu", QStringLiteral("Posunout &dolů"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
               [this] { onCurrentFrame(&FrameCommands::moveFrameDown); });
    addCommand("mnuZdvojit", QStringLiteral("&Zdvojit snímek"), QKeySequence(Qt::CTRL | Qt::Key_D),
               [this] { duplicateSelected(); });

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

QAction* FPrehled::addCommand(const char* name, const QString& caption, const QKeySequence& shortcut,
                              std::function<void()> steps)
{
    QAction* action = contextMenu_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    addAction(action);  // its key works anywhere in the overview
    connect(action, &QAction::triggered, this, [this, handler = std::string(name) + "_Click", steps] {
        HandlerGuard::run(this, handler, OnFailure::Silent, steps);
    });
    return action;
}

void FPrehled::placeBesideWindow()
{
    resize(kWidth, std::max(window_.height(), kMinimumHeight));
    moveBeside(*this, window_);
}

void FPrehled::showTitle() { setWindowTitle(window_.windowTitle() + QStringLiteral(" - Přehled snímků")); }

void FPrehled::refresh()
{
    followTimer_->stop();
    text_.emplace(CodeExcerpt::whole(*window_.editor()));
    stale_ = false;
    loopCallLines_.reset();
    model_->setFrames(listFrames(text_->text()));
    showCount();
    showBoardFrame(boardFrame_);
}

void FPrehled::refreshIfStale()
{
    if (stale_)
        refresh();
}

void FPrehled::showCount() { countLabel_->setText(frameCountText(model_->rowCount())); }

void FPrehled::showBoardFrame(int frameIndex)
{
    boardFrame_ = frameIndex;
    if (frameIndex < 0)
        return model_->setBoardRow(-1);
    if (!loopCallLines_)
        loopCallLines_ = loopCallLines(text_->text());
    if (static_cast<std::size_t>(frameIndex) >= loopCallLines_->size())
        return model_->setBoardRow(-1);
    // The frame whose call is that line, if the call ends a frame.
    const std::size_t callLine = (*loopCallLines_)[static_cast<std::size_t>(frameIndex)];
    const std::vector<FrameInText>& frames = model_->frames();
    const auto found = std::lower_bound(frames.begin(), frames.end(), callLine,
                                        [](const FrameInText& frame, std::size_t line) { return frame.lastLine() < line; });
    const bool ends = found != frames.end() && found->lastLine() == callLine;
    model_->setBoardRow(ends ? static_cast<int>(found - frames.begin()) : -1);
}

void FPrehled::putCursorOnFrame(int row)
{
    refreshIfStale();
    if (row < 0 || row >= model_->rowCount())
        return;
    CodeEditor& editor = *window_.editor();
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(text_->positionOf(model_->frames()[static_cast<std::size_t>(row)].begin()));
    editor.setTextCursor(cursor);
    editor.centerCursor();
}

void FPrehled::readFrame(int row)
{
    putCursorOnFrame(row);
    commands_.readFrame();
}

void FPrehled::onCurrentFrame(void (FrameCommands::*command)())
{
    const int row = list_->currentIndex().row();
    if (row < 0)
        return;
    putCursorOnFrame(row);
    (commands_.*command)();
    refresh();
    selectFrameAtCursor();
}

void FPrehled::deleteSelected()
{
    editSelected(deleteFrames, [this](const std::vector<int>& rows) {
        const int count = model_->rowCount();
        return count > 0 ? std::vector<int>{std::min(rows.front(), count - 1)} : std::vector<int>{};
    });
}

void FPrehled::duplicateSelected()
{
    editSelected(duplicateFrames, [](const std::vector<int>& rows) {
        std::vector<int> copies;
        for (std::size_t k = 0; k < rows.size(); ++k)
            copies.push_back(rows[k] + static_cast<int>(k) + 1);
        return copies;
    });
}

void FPrehled::editSelected(const SelectionEdit& edit, const RowsAfter& rowsAfter)
{
    refreshIfStale();
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    const std::vector<TextChange> changes = edit(text_->text(), framesOfRows(rows));
    window_.editAfterSaving([&] { applyChanges(*window_.editor(), *text_, changes); });
    refresh();
    if (const std::vector<int> selection = rowsAfter(rows); !selection.empty())
        selectRows(selection);
}

// The rows go before `beforeRow` in their order, each by one move of the model, all of
// them one edit of the code text.
void FPrehled::dropFrames(const QList<int>& rows, int beforeRow)
{
    HandlerGuard::run(this, "List1_DragDrop", OnFailure::Silent, [&] {
        QList<QPersistentModelIndex> dragged;
        for (const int row : rows)
            dragged << QPersistentModelIndex(model_->index(row));
        const OneEdit oneEdit(*window_.editor()->document());
        dropping_ = true;
        savedForDrop_ = false;
        int before = beforeRow;
        for (const QPersistentModelIndex& index : dragged) {
            if (before != index.row() && before != index.row() + 1)
                model_->moveRow(QModelIndex(), index.row(), QModelIndex(), before);
            before = index.row() + 1;
        }
    });
    dropping_ = false;
}

std::optional<std::vector<FrameInText>> FPrehled::moveFrame(int from, int to)
{
    // Rows of a list that no longer shows the code text would move other frames.
    if (stale_)
        return std::nullopt;
    const std::optional<FrameEdit> edit =
        moveFrameTo(text_->text(), model_->frames(), static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    if (!edit)
        return std::nullopt;
    if (!dropping_ || !savedForDrop_)
        window_.saveCodeText();
    savedForDrop_ = dropping_;
    applyEdit(*window_.editor(), *text_, *edit);
    text_.emplace(CodeExcerpt::whole(*window_.editor()));
    stale_ = false;
    followTimer_->stop();
    loopCallLines_.reset();
    return listFrames(text_->text());
}

std::vector<int> FPrehled::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedIndexes())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<FrameInText> FPrehled::framesOfRows(const std::vector<int>& rows) const
{
    std::vector<FrameInText> frames;
    for (const int row : rows)
        frames.push_back(model_->frames()[static_cast<std::size_t>(row)]);
    return frames;
}

void FPrehled::selectRows(const std::vector<int>& rows)
{
    QItemSelection selection;
    for (const int row : rows)
        selection.select(model_->index(row), model_->index(row));
    list_->selectionModel()->setCurrentIndex(model_->index(rows.back()), QItemSelectionModel::NoUpdate);
    list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(model_->index(rows.back()));
}

void FPrehled::selectFrameAtCursor()
{
    const std::size_t offset = text_->offsetOf(window_.editor()->textCursor().position());
    const std::vector<FrameInText>& frames = model_->frames();
    const auto after = std::upper_bound(frames.begin(), frames.end(), offset,
                                        [](std::size_t at, const FrameInText& frame) { return at < frame.begin(); });
    if (after != frames.begin() && offset <= std::prev(after)->end)
        selectRows({static_cast<int>(std::prev(after) - frames.begin())});
}

}  // namespace blikon
