#include "fblikon.h"

#include "block.h"
#include "boardmenu.h"
#include "buttons.h"
#include "codedocument.h"
#include "codeeditor.h"
#include "commondialog.h"
#include "effectsmenu.h"
#include "fonts.h"
#include "handlerguard.h"
#include "keyboardlocks.h"
#include "ledpanel.h"
#include "pictures.h"
#include "platformservices.h"
#include "statusbar.h"
#include "templates.h"
#include "twips.h"

#include "buildinfo.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace blikon {

namespace {

const QString kCaption = QStringLiteral("Kód pro Světelné efekty s Blikonem");

QPointer<FBlikon> g_first;
FBlikon::Commands g_commands;

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString groupLetter(int group) { return QString(QLatin1Char(kGroups[group].letter)); }

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

    // Window load: the start block in Label1, all five group values 255.
    HandlerGuard::run(this, "Form_Load", OnFailure::ShowError, [this] {
        showBlock(fromUtf8(startBlock()));
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

void FBlikon::setCommands(Commands commands) { g_commands = std::move(commands); }

QString FBlikon::codeText() const { return editor_->codeText(); }

void FBlikon::setCodeText(const QString& text) { editor_->setCodeText(text); }

QString FBlikon::blockCaption() const { return label1_->text(); }

void FBlikon::showBlock(const QString& block)
{
    label1_->setText(block);
    label1_->adjustSize();
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

    const auto makeButton = [client](const char* name, const QString& caption, QRect geometry) {
        QPushButton* button = addPushButton(client, name, caption, geometry);
        button->setAutoDefault(false);
        return button;
    };
    command1_ = makeButton("Command1", QStringLiteral("Počítat"), twipRect(360, 2760, 975, 375));
    command2_ = makeButton("Command2", QStringLiteral("Přidat >>"), twipRect(1440, 2760, 975, 375));
    command3_ = makeButton("Command3", QStringLiteral("Konec"), twipRect(840, 3240, 975, 375));
    connect(command1_, &QPushButton::clicked, this, &FBlikon::compute);
    connect(command2_, &QPushButton::clicked, this, &FBlikon::add);
    connect(command3_, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command3_Click", OnFailure::ShowError, [this] { close(); });
    });
    // Konec is the window's cancel button: Esc presses it, wherever the focus is.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, command3_, &QPushButton::click);
    menuShortcuts_.append(QKeySequence(Qt::Key_Escape));

    auto* line = new QFrame(client);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twipsToPixels(2880) - 1, 0, 3, twipsToPixels(3720));

    label1_ = new QLabel(client);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(comicFont());
    label1_->setTextFormat(Qt::PlainText);
    label1_->move(twipsToPixels(2820), twipsToPixels(40));

    editor_ = new CodeEditor(client);
    editor_->setObjectName(QStringLiteral("Text1"));
    editor_->setFont(comicFont());
    editor_->setGeometry(twipRect(3000, 1200, 2895, 2535));

    statusBar_ = new StatusBar({4065, 600, 600, 600}, client);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setFont(comicFont());
    statusBar_->setGeometry(twipRect(0, 3795, 5940, 255));
    new LockAndClockPanels(statusBar_, 2, 3, 4, PlatformServices::keyboardLocks());

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &FBlikon::refreshStatusLine);
    timer1_->start();

    commonDialog1_ = new CommonDialog(this);
    document_ = new CodeDocument(this);
}

QMenu* FBlikon::addMenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* FBlikon::addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                          std::function<void()> handler)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        menuShortcuts_.append(shortcut);
    }
    connect(action, &QAction::triggered, this, std::move(handler));
    return action;
}

void FBlikon::addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void FBlikon::runCommand(const std::function<void(FBlikon&)>& command)
{
    if (command)
        command(*this);
}

void FBlikon::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    const auto command = [this](std::function<void(FBlikon&)> FBlikon::Commands::*which) {
        return [this, which] { runCommand(g_commands.*which); };
    };

    QMenu* file = addMenu(nullptr, "mnuFce", QStringLiteral("&Soubor"));
    addItem(file, "mnuNovy", QStringLiteral("&Nový"), QKeySequence(Qt::CTRL | Qt::Key_N), command(&Commands::newWindow));
    addSeparator(file, "mnuMezera16");
    addItem(file, "mnuOpen", QStringLiteral("&Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O), command(&Commands::open));
    addSeparator(file, "mnuMezera14");
    addItem(file, "mnuSave", QStringLiteral("&Uložit"), QKeySequence(Qt::CTRL | Qt::Key_S), command(&Commands::save));
    addItem(file, "mnuSaveAs", QStringLiteral("Uložit j&ako..."), QKeySequence(Qt::Key_F12), command(&Commands::saveAs));
    addSeparator(file, "mnuMezera13");
    addItem(file, "mnuAnimace", QStringLiteral("Ani&mace"), QKeySequence(Qt::Key_F5), command(&Commands::animation));
    addSeparator(file, "mnuMezera2");
    addItem(file, "mnuTisk", QStringLiteral("&Tisk"), QKeySequence(Qt::CTRL | Qt::Key_P), command(&Commands::print));
    addSeparator(file, "mnuMezera3");
    addItem(file, "mnuEnd", QStringLiteral("&Konec"), {}, [this] {
        HandlerGuard::run(this, "mnuEnd_Click", OnFailure::ShowError, [this] { close(); });
    });

    QMenu* select = addMenu(nullptr, "mnuSell", QStringLiteral("&Vybrat"));
    addItem(select, "mnuAll", QStringLiteral("&Všechny diody"), QKeySequence(Qt::CTRL | Qt::Key_D),
            [this] { tickAll(true); });
    addItem(select, "mnuNic", QStringLiteral("&Žádnou diodu"), QKeySequence(Qt::CTRL | Qt::Key_Y),
            [this] { tickAll(false); });
    addSeparator(select, "mnuMezera4");
    for (int g = 0; g < kGroupCount; ++g) {
        const QString letter = groupLetter(g);
        const int last = kGroups[g].ledCount - 1;
        const QByteArray menuName = "mnu" + letter.toLatin1();
        QMenu* groupMenu = addMenu(select, menuName.constData(),
                                   QLatin1Char('&') + letter + QLatin1String("0 - ") + letter + QString::number(last));
        for (int bit = 0; bit <= last; ++bit) {
            const Led led{g, bit};
            const QByteArray itemName = menuName + QByteArray::number(bit);
            addItem(groupMenu, itemName.constData(), QStringLiteral("%1&%2").arg(letter).arg(bit), {},
                    [this, led] { tickLed(led); });
        }
        addSeparator(groupMenu, ("mnuMezera" + QByteArray::number(5 + g)).constData());
        addItem(groupMenu, ("mnuAll" + letter.toLatin1()).constData(), QStringLiteral("Všechny &%1").arg(letter),
                {}, [this, g] { tickGroup(g); });
    }

    QMenu* code = addMenu(nullptr, "mnuKod", QStringLiteral("&Kód"));
    addItem(code, "mnuCallculate", QStringLiteral("P&očítat"), {}, [this] { compute(); });
    addSeparator(code, "mnuMezera");
    addItem(code, "mnuAdd", QStringLiteral("&Přidat"), QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { add(); });
    addItem(code, "mnuAddStart", QStringLiteral("Přidat &začátek"), QKeySequence(Qt::CTRL | Qt::Key_B),
            [this] { addStartTemplate(); });
    addItem(code, "mnuAddEnd", QStringLiteral("Přidat ko&nec"), QKeySequence(Qt::CTRL | Qt::Key_E),
            [this] { addEndTemplate(); });
    addSeparator(code, "mnuMezera12");
    addItem(code, "mnuZpet", QStringLiteral("Kód &Zpět"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    addItem(code, "mnuSellAll", QStringLiteral("Vybrat vše"), QKeySequence(Qt::CTRL | Qt::Key_A),
            [this] { selectWholeCode(); });

    new EffectsMenu(*this);
    new BoardMenu(*this);

    QMenu* help = addMenu(nullptr, "mnuHelp", QStringLiteral("&Nápověda"));
    addItem(help, "mnuHelp2", QStringLiteral("&Nápověda"), QKeySequence(Qt::Key_F1), command(&Commands::help));
    addSeparator(help, "mnuMezera15");
    addItem(help, "mnuAbout", QStringLiteral("O &Aplikaci"), {}, command(&Commands::about));
    addSeparator(help, "mnuMezera11");
    addItem(help, "mnuWeb", QLatin1Char('&') + QString::fromUtf8(buildinfo::kHomePage), {}, command(&Commands::web));

    editor_->setReservedShortcuts(menuShortcuts_);
}

void FBlikon::setTabOrder()
{
    QList<QWidget*> order{command1_, command2_, command3_, editor_};
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
        showBlock(fromUtf8(formatBlock(board_)));
    });
}

void FBlikon::add()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::ShowError, [this] {
        savedText_ = codeText();
        HandlerGuard::failPoint("saved");
        editor_->appendCodeText(fromUtf8(blockSuffix(label1_->text().toStdString())));
    });
}

void FBlikon::addStartTemplate()
{
    HandlerGuard::run(this, "mnuAddStart_Click", OnFailure::Silent, [this] {
        savedText_ = codeText();
        HandlerGuard::failPoint("saved");
        editor_->prependCodeText(fromUtf8(startTemplate()));
    });
}

void FBlikon::addEndTemplate()
{
    HandlerGuard::run(this, "mnuAddEnd_Click", OnFailure::Silent, [this] {
        savedText_ = codeText();
        HandlerGuard::failPoint("saved");
        editor_->appendCodeText(fromUtf8(endTemplate()));
    });
}

void FBlikon::undo()
{
    HandlerGuard::run(this, "mnuZpet_Click", OnFailure::Silent, [this] { setCodeText(savedText_); });
}

void FBlikon::selectWholeCode()
{
    HandlerGuard::run(this, "mnuSellAll_Click", OnFailure::Silent, [this] {
        editor_->setFocus(Qt::ShortcutFocusReason);
        editor_->selectWholeText();
    });
}

void FBlikon::tickAll(bool ticked)
{
    HandlerGuard::run(this, ticked ? "mnuAll_Click" : "mnuNic_Click", OnFailure::Silent, [this, ticked] {
        for (const Led led : allLeds())
            panel_->setTicked(led, ticked);
    });
}

void FBlikon::tickGroup(int group)
{
    const std::string handler = "mnuAll" + std::string(1, kGroups[group].letter) + "_Click";
    HandlerGuard::run(this, handler, OnFailure::ShowError, [this, group] {
        for (int bit = 0; bit < kGroups[group].ledCount; ++bit)
            panel_->setTicked(Led{group, bit}, true);
    });
}

void FBlikon::tickLed(Led led)
{
    HandlerGuard::run(this, "mnu" + ledName(led) + "_Click", OnFailure::ShowError,
                      [this, led] { panel_->setTicked(led, true); });
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
