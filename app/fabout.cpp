#include "fabout.h"

#include "core/buildinfo.h"
#include "ui/fonts.h"
#include "ui/handlerguard.h"
#include "ui/labels.h"
#include "ui/messageboxes.h"
#include "ui/pictures.h"
#include "platform/seam.h"
#include "platform/sysinfo.h"
#include "ui/twips.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace blikon {

namespace {

const QString kAppTitle = QStringLiteral("Blikon");
const QSize kClientSize(twipsToPixels(5730), twipsToPixels(3555));  // 382 x 237
constexpr int kIconTwips = 480;
constexpr int kIconStepInterval = 180;  // ms

const QColor kLightMagenta(255, 192, 255);
const QColor kSilver(192, 192, 192);

long long g_ticks = 0;  // outlives the window: the next opening counts on

// The window's positions are measured in centimetres; this is the one place where
// they become pixels.
int centimetresToPixels(double centimetres)
{
    constexpr double kTwipsPerCentimetre = 567.0;
    return twipsToPixels(qRound(centimetres * kTwipsPerCentimetre));
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, const QString& toolTip,
                       const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

void StartSysInfo(QWidget* owner)
{
    bool started = false;
    HandlerGuard::run(owner, "StartSysInfo", OnFailure::Silent, [&started] { started = startSysInfoTool(); });
    if (started)
        return;
    MessageRequest request;
    request.text = QString::fromLatin1(kSysInfoUnavailable);
    seam<MessageBoxes>().show(owner, request);
}

FAbout::FAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    setWindowIcon(pictures::programIcon());
    setFont(comicFont());
    setFixedSize(kClientSize);
    background_ = pictures::picture(QLatin1String(pictures::kAboutBackground), kClientSize);

    buildControls();
    setWindowTitle(QStringLiteral("O Aplikaci: ") + kAppTitle);
    move(screen()->availableGeometry().center() - rect().center());
}

long long FAbout::tickCount() { return g_ticks; }

void FAbout::buildControls()
{
    // First, so that it floats behind the texts and buttons.
    floatingIcon_ = addPictureLabel(this, "Image3", pictures::kFloatingIcon, twipRect(0, 0, kIconTwips, kIconTwips));
    placeFloatingIcon();

    addPictureLabel(this, "Image1", pictures::kAboutImage1, twipRect(240, 180, 600, 600));
    addTextLabel(this, "lblTitle", kAppTitle, twipRect(1020, 30, 3600, 720), comicFont(24), kLightMagenta);
    addTextLabel(this, "lblVersion", QStringLiteral("Version ") + versionNumber(), twipRect(1050, 750, 3600, 345),
                 comicFont(12), kSilver);
    addPictureLabel(this, "Image2", pictures::kAboutImage2, twipRect(4890, 180, 600, 600))
        ->setToolTip(QStringLiteral("Zde se dozvíte jak nakládat s mím programem."));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twipRect(240, 2475, 5250, 30));

    QPushButton* ok = addButton(this, "cmdOK", QStringLiteral("OK"), QStringLiteral("Zavře toto okno."),
                                twipRect(4245, 2640, 1245, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "cmdOK_Click", OnFailure::Silent, [this] { accept(); });
    });

    QPushButton* sysInfo = addButton(this, "cmdSysInfo", QStringLiteral("&System Info..."),
                                     QStringLiteral("Spustí Systémové Informace"), twipRect(4245, 3060, 1245, 375));
    connect(sysInfo, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "cmdSysInfo_Click", OnFailure::Silent, [this] { StartSysInfo(this); });
    });

    iconTimer_ = new QTimer(this);
    iconTimer_->setObjectName(QStringLiteral("Timer2"));
    iconTimer_->setInterval(kIconStepInterval);
    connect(iconTimer_, &QTimer::timeout, this, &FAbout::moveFloatingIcon);
}

void FAbout::moveFloatingIcon()
{
    HandlerGuard::run(this, "Timer2_Timer", OnFailure::Silent, [this] {
        ++g_ticks;
        iconPlace_ = nextIconPlace(iconPlace_, g_ticks);
        placeFloatingIcon();
    });
}

void FAbout::placeFloatingIcon()
{
    floatingIcon_->move(centimetresToPixels(iconPlace_.left), centimetresToPixels(iconPlace_.top));
}

void FAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    iconTimer_->start();
}

void FAbout::hideEvent(QHideEvent* event)
{
    iconTimer_->stop();
    QDialog::hideEvent(event);
}

void FAbout::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

}  // namespace blikon
