#include "fonts.h"

#include <QStringList>

namespace blikon {

namespace {

QFont makeFont(const QStringList& families, double pointSize, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

}  // namespace

QFont tahomaFont(double pointSize)
{
    return makeFont({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")},
                    pointSize, false, false);
}

QFont comicFont(double pointSize, bool bold, bool italic)
{
    return makeFont({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"), QStringLiteral("Sans Serif")},
                    pointSize, bold, italic);
}

}  // namespace blikon
