#include "fuvod.h"

#include "core/buildinfo.h"
#include "ui/fonts.h"
#include "ui/labels.h"
#include "ui/pictures.h"
#include "ui/twips.h"

#include <QScreen>

namespace blikon {

namespace {

const QSize kClientSize(twipsToPixels(4770), twipsToPixels(3375));  // 318 x 225

const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);
const QColor kGreen(0, 255, 0);

}  // namespace

FUvod::FUvod(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FUvod"));
    setWindowIcon(pictures::programIcon());
    setFixedSize(kClientSize);

    addPictureLabel(this, "Background", pictures::kSplashBackground, rect());
    addPictureLabel(this, "Image1", pictures::kProgramIcon, QRect(18, 16, 64, 64));
    addPictureLabel(this, "Image2", pictures::kSplashImage2, QRect(99, 84, 120, 60));

    addTextLabel(this, "Label1", QStringLiteral("Blikon"), QRect(92, 16, 210, 64), comicFont(26.25, true),
                 kYellow, Qt::AlignCenter);
    addTextLabel(this, "Label2", QString::fromUtf8(buildinfo::kCopyright), QRect(8, 146, 302, 30),
                 comicFont(15.75, true), kOrange, Qt::AlignCenter);
    addTextLabel(this, "Label3", QStringLiteral("Verze ") + versionNumber(), QRect(8, 177, 302, 19),
                 comicFont(9.75, true, true), kGreen, Qt::AlignCenter);

    move(screen()->availableGeometry().center() - rect().center());
}

}  // namespace blikon
