#include "fuvod.h"

#include "buildinfo.h"
#include "fonts.h"
#include "pictures.h"
#include "twips.h"

#include <QLabel>
#include <QScreen>

namespace blikon {

namespace {

const QSize kClientSize(twipsToPixels(4770), twipsToPixels(3375));  // 318 x 225

const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);
const QColor kGreen(0, 255, 0);

QLabel* addText(QWidget* parent, const char* name, const QString& text, const QRect& geometry, const QFont& font,
                const QColor& colour, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLabel* addPicture(QWidget* parent, const char* name, const char* picture, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setPixmap(pictures::picture(QString::fromLatin1(picture), geometry.size()));
    return label;
}

QString versionText()
{
    return QStringLiteral("Verze %1.%2.%3")
        .arg(buildinfo::kVersionMajor)
        .arg(buildinfo::kVersionMinor)
        .arg(buildinfo::kVersionRevision);
}

}  // namespace

FUvod::FUvod(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FUvod"));
    setWindowIcon(pictures::programIcon());
    setFixedSize(kClientSize);

    addPicture(this, "Background", pictures::kSplashBackground, rect());
    addPicture(this, "Image1", pictures::kProgramIcon, QRect(18, 16, 64, 64));
    addPicture(this, "Image2", pictures::kSplashImage2, QRect(99, 84, 120, 60));

    addText(this, "Label1", QStringLiteral("Blikon"), QRect(92, 16, 210, 64), comicFont(26.25, true), kYellow,
            Qt::AlignCenter);
    addText(this, "Label2", QString::fromUtf8(buildinfo::kCopyright), QRect(8, 146, 302, 30),
            comicFont(15.75, true), kOrange, Qt::AlignCenter);
    addText(this, "Label3", versionText(), QRect(8, 177, 302, 19), comicFont(9.75, true, true), kGreen, Qt::AlignCenter);

    move(screen()->availableGeometry().center() - rect().center());
}

}  // namespace blikon
