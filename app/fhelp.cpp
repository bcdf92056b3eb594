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

    auto* text1 = new QPlainTextEdit(this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setGeometry(twipRect(120, 120, 4440, 2520));
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1->setReadOnly(true);
    text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text1->setPlainText(toEditorLineEnds(helpText()));

    label1_ = new QLabel(homePageAddress(), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setGeometry(twipRect(120, 2805, 3120, 285));
    label1_->setCursor(Qt::PointingHandCursor);
    QPalette palette = label1_->palette();
    palette.setColor(QPalette::WindowText, kLinkBlue);
    label1_->setPalette(palette);
    label1_->installEventFilter(this);

    auto* command1 = new QPushButton(QStringLiteral("Konec"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(twipRect(3480, 2760, 1080, 375));
    connect(command1, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command1_Click", OnFailure::Silent, [this] { accept(); });
    });
}

bool FHelp::eventFilter(QObject* watched, QEvent* event)
{
    // A click: the left button released over the label.
    if (watched == label1_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && label1_->rect().contains(mouse->position().toPoint()))
            HandlerGuard::run(this, "Label1_Click", OnFailure::Silent, [] { openHomePage(); });
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace blikon
