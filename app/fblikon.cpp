#include "fblikon.h"

#include "core/block.h"
#include "boardmenu.h"
#include "ui/buttons.h"
#include "document/codedocument.h"
#include "ui/codeeditor.h"
#include "codemenu.h"
#include "ui/commondialog.h"
#include "editmenu.h"
#include "effectsmenu.h"
#include "filemenu.h"
#include "ui/fonts.h"
#include "ui/handlerguard.h"
#include "helpmenu.h"
#include "platform/keyboardlocks.h"
#include "ledpanel.h"
#include "ui/pictures.h"
#include "platform/seam.h"
#include "document/recoverykeeper.h"
#include "selectmenu.h"
#include "ui/statusbar.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace blikon {

namespace {

const QString kCaption = QStringLiteral("Kód pro Světelné efekty s Blikonem");

QPointer<FBlikon> g_first;

}  // namespace

FBlikon::FBlikon(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FBlikon"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setWindowIcon(pictures::programIcon());

    buildControls();
    buildMenus();
    setTabOrder();
    new RecoveryKeeper(*this);  // an unsaved text outlives the window

    // Window load: the start block in Label1, all five group values 255.
    HandlerGuard::run(this, "Form_Load", OnFailure::ShowError, [this] {
        showBlock(startBlock());
        board_.reset();
    });
}

FBlikon::~FBlikon() = default;

FBlikon* FBlikon::createFirst()
{
    g_first = new FBlikon;
    return g_first;
}

FBlikon* FBlikon::first() { return g_first; }

QString FBlikon::codeText() const { return codeEditor_->codeText(); }

void FBlikon::setCodeText(const QString& text) { codeEditor_->setCodeText(text); }

QString FBlikon::blockCaption() const { return blockLabel_->text(); }

void FBlikon::setBoard(const BoardState& board)
{
    for (const Led led : allLeds())
        if (board.isLit(led) != board_.isLit(led))
            onLedChanged(led, board.isLit(led) ? LedState::Lit : LedState::Dark);
    panel_->show(board);
}

void FBlikon::editAfterSaving(const std::function<void()>& edit)
{
    saveCodeText();
    HandlerGuard::failPoint("saved");
    edit();
}

void FBlikon::showBlock(const std::string& block)
{
    shownBlock_ = block;
    blockLabel_->setText(QString::fromStdString(block));
    blockLabel_->adjustSize();
}

void FBlikon::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(5940), twipsToPixels(4050));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    panel_ = new LedPanel(client);
    connect(panel_, &LedPanel::ledChanged, this, &FBlikon::onLedChanged);
    buildButtons(client);
    buildCodeArea(client);
    buildStatusBar(client);

    dialogs_ = new CommonDialog(this);
    document_ = new CodeDocument(this);
}

void FBlikon::buildButtons(QWidget* client)
{
    const auto makeButton = [client](const char* name, const QString& caption, QRect geometry) {
        QPushButton* button = addPushButton(client, name, caption, geometry);
        button->setAutoDefault(false);
        return button;
    };
    computeButton_ = makeButton("Command1", QStringLiteral("Počítat"), twipRect(360, 2760, 975, 375));
    addButton_ = makeButton("Command2", QStringLiteral("Přidat >>"), twipRect(1440, 2760, 975, 375));
    closeButton_ = makeButton("Command3", QStringLiteral("Konec"), twipRect(840, 3240, 975, 375));
    connect(computeButton_, &QPushButton::clicked, this, &FBlikon::compute);
    connect(addButton_, &QPushButton::clicked, this, &FBlikon::add);
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command3_Click", OnFailure::ShowError, [this] { close(); });
    });
    // Konec is the window's cancel button: Esc presses it, wherever the focus is.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, closeButton_, &QPushButton::click);
}

// The right half: the line that divides it from the panel, the block label and the editor.
void FBlikon::buildCodeArea(QWidget* client)
{
    auto* line = new QFrame(client);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twipsToPixels(2880) - 1, 0, 3, twipsToPixels(3720));

    blockLabel_ = new QLabel(client);
    blockLabel_->setObjectName(QStringLiteral("Label1"));
    blockLabel_->setFont(comicFont());
    blockLabel_->setTextFormat(Qt::PlainText);
    blockLabel_->move(twipsToPixels(2820), twipsToPixels(40));

    codeEditor_ = new CodeEditor(client);
    codeEditor_->setObjectName(QStringLiteral("Text1"));
    codeEditor_->setFont(comicFont());
    codeEditor_->setGeometry(twipRect(3000, 1200, 2895, 2535));
}

// The status line of the five group values, refreshed by its timer, and the lock and
// clock panels.
void FBlikon::buildStatusBar(QWidget* client)
{
    statusBar_ = new StatusBar({4065, 600, 600, 600}, client);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setFont(comicFont());
    statusBar_->setGeometry(twipRect(0, 3795, 5940, 255));
    new LockAndClockPanels(statusBar_, 2, 3, 4, seam<KeyboardLocks>());

    statusTimer_ = new QTimer(this);
    statusTimer_->setObjectName(QStringLiteral("Timer1"));
    statusTimer_->setInterval(100);
    connect(statusTimer_, &QTimer::timeout, this, &FBlikon::refreshStatusLine);
    statusTimer_->start();
}

void FBlikon::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("menuBar"));
#ifdef Q_OS_WIN
    // Seven menus in the window's fixed width: Windows's wider item margins would push
    // "Nápověda" behind the bar's extension button.
    menuBar()->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 2px; }"));
#endif
    new FileMenu(*this);
    new SelectMenu(*this);
    new CodeMenu(*this);
    new EditMenu(*this);
    new EffectsMenu(*this);
    new BoardMenu(*this);
    new HelpMenu(*this);

    // The menus' shortcuts and Esc for Konec win over the editor's own keys.
    QList<QKeySequence> reserved{QKeySequence(Qt::Key_Escape)};
    for (const QAction* action : menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            reserved.append(action->shortcut());
    codeEditor_->setReservedShortcuts(reserved);
}

void FBlikon::setTabOrder()
{
    QList<QWidget*> order{computeButton_, addButton_, closeButton_, codeEditor_};
    for (QCheckBox* box : panel_->boxesInTabOrder())
        order.append(box);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FBlikon::onLedChanged(Led led, LedState state)
{
    const std::string handler = ledName(led) + "_Click";
    HandlerGuard::run(this, handler, OnFailure::ShowError, [&] { board_.change(led, state); });
}

void FBlikon::compute()
{
    HandlerGuard::run(this, "Command1_Click", OnFailure::ShowError, [this] {
        showBlock(formatBlock(board_));
    });
}

void FBlikon::add()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::ShowError, [this] {
        editAfterSaving([this] { codeEditor_->appendCodeText(QString::fromStdString(blockSuffix(shownBlock_))); });
    });
}

void FBlikon::refreshStatusLine()
{
    HandlerGuard::run(this, "Timer1_Timer", OnFailure::Silent, [this] {
        statusBar_->setPanelText(1, QStringLiteral("A = %1 B = %2 C = %3 D = %4 E = %5")
                                        .arg(board_.value(0))
                                        .arg(board_.value(1))
                                        .arg(board_.value(2))
                                        .arg(board_.value(3))
                                        .arg(board_.value(4)));
    });
}

}  // namespace blikon
