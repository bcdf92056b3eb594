#include "labels.h"

#include "core/buildinfo.h"
#include "pictures.h"

namespace blikon {

QLabel* addTextLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                     const QFont& font, const QColor& colour, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLabel* addPictureLabel(QWidget* parent, const char* name, const char* picture, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setPixmap(pictures::picture(QLatin1String(picture), geometry.size()));
    return label;
}

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3")
        .arg(buildinfo::kVersionMajor)
        .arg(buildinfo::kVersionMinor)
        .arg(buildinfo::kVersionRevision);
}

}  // namespace blikon
