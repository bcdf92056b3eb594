#include "fhelp.h"

#include "ui/codeeditor.h"
#include "ui/fonts.h"
#include "ui/handlerguard.h"
#include "ui/pictures.h"
#include "ui/twips.h"
#include "platform/weblink.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <span>

namespace blikon {

namespace {

const QSize kClientSize(twipsToPixels(4680), twipsToPixels(3255));  // 312 x 217
const QColor kLinkBlue(0, 0, 255);

// What the program is for and how a frame is made.
const char* const kBasics[] = {
    "Nápověda k programu Blikon",
    "Blikon vytváří kód v asembleru pro desku světelných efektů se 37 diodami, "
    "kterou řídí mikrokontrolér řady 8051.",
    "Diody (zaškrtávací políčka) jsou pojmenovány podle svého zapojení: A0 - A7, "
    "B0 - B7 a tak dále. Zaškrtnuté políčko znamená rozsvícenou diodu (logický stav 0).",
    "Tlačítko „Počítat“ vygeneruje kód s hexadecimálními hodnotami a tlačítko "
    "„Přidat >>“ tento kód přidá do textového pole. Kód v textovém poli můžete "
    "uložit do souboru, vytisknout nebo animovat.",
    "Animace slouží k bližší, názorné kontrole kódu: každý blok ukáže jako jeden "
    "snímek na diodách. Kód přitom musí splňovat dvě podmínky:\r\n"
    "1) Hodnoty musí být hexadecimální\r\n"
    "2) V jednotlivých blocích musí být obsazeny všechny registry R2 - R6",
    "Ostatní funkce programu, například přidání začátku a konce kódu, nechávám "
    "na vás, ať si je sami vyzkoušíte.",
};

const char* const kBoardMenu[] = {
    "Menu „Deska“",
    "„Přeložit“ (F9) přeloží kód pro mikrokontrolér a řekne, kolik bajtů má program "
    "a zda se vejde do zvoleného čipu. Chyby a upozornění ukáže v okně „Chyby překladu“; "
    "klepnutím na řádek seznamu přejdete na místo v kódu.",
    "„Uložit HEX...“ (Ctrl+H) uloží přeložený program jako soubor Intel HEX pro "
    "programátor čipů. Nabídne jméno souboru s kódem s příponou .hex a před přepsáním "
    "existujícího souboru se zeptá. Prázdný program se nepřeloží ani neuloží.",
    "„Uložit animaci GIF…“ (Ctrl+G) nahraje efekt na simulované desce se zvoleným "
    "krystalem a uloží ho jako animovaný GIF desky, který můžete ukázat ostatním: "
    "37 diod v barvě z okna animace, 240 bodů na šířku, přehrávaný dokola.",
    "Program se smyčkou snímků dá jeden obrázek na snímek smyčky, každý na tak dlouho, "
    "jak ho ukáže čip; z jiného programu se nahraje prvních 10 sekund. Víc než 2 000 "
    "obrázků animace nemá. U dlouhého efektu vidíte průběh a můžete ho zrušit.",
    "„Simulace“ (F6) spustí program na simulované desce v okně vedle hlavního okna. "
    "Okno sleduje kód: půl sekundy po poslední změně ho znovu přeloží a spustí. "
    "Tlačítko desky podržíte myší nebo mezerníkem.",
    "Má-li kód chyby, deska dál hraje poslední dobrý program a první chybu ukáže "
    "ve stavovém řádku. Program, který se do zvoleného čipu nevejde, deska přehraje "
    "také, ale řekne to v okně.",
    "„Spustit HEX…“ otevře soubor Intel HEX odjinud, například ukázkový program "
    "stavebnice, a spustí ho na desce se zvoleným čipem a krystalem.",
    "„Mikrokontrolér...“ nastaví čip, kmitočet krystalu a to, zda se skoky JMP "
    "a CALL překládají vždy v dlouhé podobě.",
};

// "Naprogramovat čip…": the programmers, wiring an Arduino as ISP, the user's command.
const char* const kProgramming[] = {
    "Programování čipu",
    "„Naprogramovat čip…“ (Ctrl+U) přeloží kód jako „Přeložit“ a zapíše program do čipu "
    "zvoleného v „Mikrokontrolér...“. Prázdný program ani program, který se do čipu "
    "nevejde, nezapíše.",
    "Průběh ukáže okno vedle hlavního okna. „Storno“ programování přeruší (čip pak může být "
    "zapsán jen zčásti) a „Podrobnosti“ ukážou celý výpis programátoru.",
    "Čipy AT89S51 a AT89S52 zapíše v zapojení (ISP) program avrdude, který Blikon spustí "
    "sám. Programátorem je Arduino s nahraným příkladem ArduinoISP (v Arduino IDE Soubor > "
    "Příklady > ArduinoISP), nebo USBasp s firmwarem, který čipy AT89 zná.",
    "Port Arduina je v Linuxu /dev/ttyACM0 nebo /dev/ttyUSB0 (účet musí být ve skupině "
    "dialout), ve Windows COM3 a podobně.",
    "Arduino (Uno, Nano) se k AT89S52 v pouzdře DIP40 zapojí takto: D13 (SCK) na P1.7 "
    "(vývod 8), D12 (MISO) na P1.6 (vývod 7), D11 (MOSI) na P1.5 (vývod 6), D10 na RST "
    "(vývod 9), GND na GND (vývod 20) a 5 V na VCC (vývod 40).",
    "ArduinoISP drží RST během programování v log. 1, jak to čip potřebuje. EA/VPP "
    "(vývod 31) patří na VCC a čip musí mít svůj krystal na XTAL1 a XTAL2 (vývody 19 a 18).",
    "Kondenzátor 10 µF mezi RESET a GND Arduina zabrání tomu, aby se Arduino při otevření "
    "portu restartovalo.",
    "Ostatní čipy (AT89C2051, AT89C4051, AT89C51 a další) se programují paralelně napětím "
    "12 V, což avrdude neumí. Pro ně zvolte „Vlastní příkaz“ a napište příkaz svého "
    "programátoru.",
    "Za %f Blikon dosadí cestu k souboru HEX v uvozovkách, například minipro -p "
    "AT89C2051@DIP20 -w %f pro TL866. Příkaz se spustí přímo, ne v příkazovém řádku systému.",
};

const char* const kEffectsMenu[] = {
    "Menu „Efekty“",
    "„Načíst snímek z kódu“ (Ctrl+L) přenese snímek, ve kterém stojí kurzor, "
    "do zaškrtávacích políček. „Nahradit snímek v kódu“ (Ctrl+R) ho přepíše tím, "
    "co ukazují políčka.",
    "„Otočit doprava“ (F7) a „Otočit doleva“ (Shift+F7) otočí políčka o šestinu "
    "kruhu, „Zrcadlit“ (F8) je převrátí zleva doprava a „Invertovat“ (Ctrl+I) "
    "rozsvítí zhasnuté diody a zhasne rozsvícené.",
    "„Přidat otáčku“ přidá šest snímků, políčka a jejich pět otočení. Má-li kód "
    "konec programu, vloží je před něj, aby se přehrávaly ve smyčce.",
    "Se snímkem, ve kterém stojí kurzor, pracují i další příkazy: „Vložit snímek "
    "před“ (Ctrl+Shift+Ins) vloží před něj snímek z políček, „Smazat snímek“ "
    "(Ctrl+Shift+Del) ho smaže a „Zdvojit snímek“ (Ctrl+Shift+D) za něj vloží kopii.",
    "„Posunout nahoru“ (Ctrl+Shift+šipka nahoru) a „Posunout dolů“ (Ctrl+Shift+šipka "
    "dolů) prohodí snímek s předchozím nebo následujícím. Každou z těchto změn vrátí „Kód Zpět“.",
    "„Přehled snímků“ (F4) ukáže v okně vedle hlavního okna všechny snímky jako "
    "malé šestiúhelníky. Klepnutí přenese kurzor na snímek, dvojklik ho načte "
    "do políček a tažením snímek přesunete.",
    "V přehledu klávesa Delete smaže vybrané snímky a Ctrl+D je zdvojí; další "
    "příkazy nabídne pravé tlačítko myši. Přehled sleduje kód, jak ho píšete.",
};

const char* const kEditMenu[] = {
    "Menu „Úpravy“",
    "„Zpět o krok“ (Alt+Backspace) vrátí poslední změnu kódu, ať jste psali, přidali "
    "snímek, otevřeli soubor nebo použili „Kód Zpět“; opakováním jdete dál do minulosti. "
    "„Znovu“ (Ctrl+Shift+Z) vrácenou změnu zopakuje.",
    "Zavřete-li okno s neuloženým kódem, Blikon si kód schová; neuložený kód otevřených "
    "oken schovává i každých 30 sekund. „Obnovit zavřený kód…“ ukáže schované kódy, "
    "nejnovější nahoře; Enter vybraný kód otevře.",
};

const char* const kSignature = "Hodně zábavy s Blikonem přeje autor.";

}  // namespace

QString FHelp::helpText()
{
    QStringList paragraphs;
    for (const auto& section : {std::span<const char* const>(kBasics), std::span<const char* const>(kBoardMenu),
                                std::span<const char* const>(kProgramming),
                                std::span<const char* const>(kEffectsMenu), std::span<const char* const>(kEditMenu)})
        for (const char* paragraph : section)
            paragraphs.append(QString::fromUtf8(paragraph));
    paragraphs.append(QString::fromUtf8(kSignature));
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}

FHelp::FHelp(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FHelp"));
    setWindowIcon(pictures::programIcon());
    setWindowTitle(QStringLiteral("Nápověda"));
    setFont(comicFont());
    setFixedSize(kClientSize);

    auto* helpView = new QPlainTextEdit(this);
    helpView->setObjectName(QStringLiteral("Text1"));
    helpView->setGeometry(twipRect(120, 120, 4440, 2520));
    helpView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    helpView->setReadOnly(true);
    helpView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    helpView->setPlainText(toEditorLineEnds(helpText()));

    homePageLink_ = new QLabel(homePageAddress(), this);
    homePageLink_->setObjectName(QStringLiteral("Label1"));
    homePageLink_->setTextFormat(Qt::PlainText);
    homePageLink_->setGeometry(twipRect(120, 2805, 3120, 285));
    homePageLink_->setCursor(Qt::PointingHandCursor);
    QPalette palette = homePageLink_->palette();
    palette.setColor(QPalette::WindowText, kLinkBlue);
    homePageLink_->setPalette(palette);
    homePageLink_->installEventFilter(this);

    auto* closeButton = new QPushButton(QStringLiteral("Konec"), this);
    closeButton->setObjectName(QStringLiteral("Command1"));
    closeButton->setGeometry(twipRect(3480, 2760, 1080, 375));
    connect(closeButton, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command1_Click", OnFailure::Silent, [this] { accept(); });
    });
}

bool FHelp::eventFilter(QObject* watched, QEvent* event)
{
    // A click: the left button released over the label.
    if (watched == homePageLink_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && homePageLink_->rect().contains(mouse->position().toPoint()))
            HandlerGuard::run(this, "Label1_Click", OnFailure::Silent, [] { openHomePage(); });
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace blikon
