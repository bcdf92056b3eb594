#include "effectsmenu.h"

#include "fblikon.h"
#include "fprehled.h"
#include "core/frametransform.h"

#include <QKeySequence>

namespace blikon {

EffectsMenu::EffectsMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuEfekty", QStringLiteral("&Efekty"))
    , commands_(window)
{
    const auto item = [this](const char* name, const QString& caption, const QKeySequence& shortcut,
                             void (FrameCommands::*command)()) {
        addItem(menu(), name, caption, shortcut, OnFailure::Silent, [this, command] { (commands_.*command)(); });
    };
    const auto move = [this](const char* name, const QString& caption, const QKeySequence& shortcut,
                             BoardState (*transform)(const BoardState&)) {
        addItem(menu(), name, caption, shortcut, OnFailure::Silent, [this, transform] { commands_.moveBoxes(transform); });
    };
    item("mnuNacist", QStringLiteral("&Načíst snímek z kódu"), QKeySequence(Qt::CTRL | Qt::Key_L),
         &FrameCommands::readFrame);
    item("mnuNahradit", QStringLiteral("Na&hradit snímek v kódu"), QKeySequence(Qt::CTRL | Qt::Key_R),
         &FrameCommands::replaceFrame);
    addSeparator(menu(), "mnuMezera17");
    move("mnuOtocitVpravo", QStringLiteral("&Otočit doprava"), QKeySequence(Qt::Key_F7), turnClockwise);
    move("mnuOtocitVlevo", QStringLiteral("Otočit do&leva"), QKeySequence(Qt::SHIFT | Qt::Key_F7),
         turnCounterClockwise);
    move("mnuZrcadlit", QStringLiteral("&Zrcadlit"), QKeySequence(Qt::Key_F8), mirrorLeftRight);
    move("mnuInvertovat", QStringLiteral("&Invertovat"), QKeySequence(Qt::CTRL | Qt::Key_I), invert);
    addSeparator(menu(), "mnuMezera18");
    item("mnuOtacka", QStringLiteral("Přidat &otáčku"), {}, &FrameCommands::addTurn);

    // The frame as a whole. The captions keep their given access keys, though N and Z
    // are Načíst's and Zrcadlit's too: Alt+N and Alt+Z go from one item to the other.
    addSeparator(menu(), "mnuMezera19");
    item("mnuVlozit", QStringLiteral("&Vložit snímek před"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Insert),
         &FrameCommands::insertFrame);
    item("mnuSmazat", QStringLiteral("&Smazat snímek"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
         &FrameCommands::deleteFrame);
    item("mnuNahoru", QStringLiteral("Posunout &nahoru"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up),
         &FrameCommands::moveFrameUp);
    item("mnuDolu", QStringLiteral("Posunout &dolů"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
         &FrameCommands::moveFrameDown);
    item("mnuZdvojit", QStringLiteral("&Zdvojit snímek"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
         &FrameCommands::duplicateFrame);
    addSeparator(menu(), "mnuMezera20");
    addItem(menu(), "mnuPrehled", QStringLiteral("&Přehled snímků"), QKeySequence(Qt::Key_F4), OnFailure::Silent,
            [this] { showOverview(); });
}

void EffectsMenu::showOverview()
{
    if (!overview_)
        overview_ = FPrehled::open(window());
    overview_->raise();
    overview_->activateWindow();
}

}  // namespace blikon
