#include "fhelp.h"

#include "codeeditor.h"
#include "fonts.h"
#include "handlerguard.h"
#include "pictures.h"
#include "twips.h"
#include "weblink.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace blikon {

namespace {

const QSize kClientSize(twipsToPixels(4680), twipsToPixels(3255));  // 312 x 217
const QColor kLinkBlue(0, 0, 255);

const char* const kHelpParagraphs[] = {
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
    "Hodně zábavy s Blikonem přeje autor.",
};

}  // namespace

QString FHelp::helpText()
{
    QStringList paragraphs;
    for (const char* paragraph : kHelpParagraphs)
        paragraphs.append(QString::fromUtf8(paragraph));
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
