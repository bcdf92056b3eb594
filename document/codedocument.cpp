#include "codedocument.h"

#include "codefile.h"

#include <QWidget>

namespace blikon {

CodeDocument::CodeDocument(QWidget* window)
    : QObject(window)
    , window_(window)
    , fileReader_(new FileBox(window))
{
    setObjectName(QStringLiteral("document"));
}

void CodeDocument::showFileNameInTitle()
{
    titleFileName_ = fileName_;
    window_->setWindowTitle(titleFor(fileName_));
}

QString CodeDocument::titleFor(const QString& path)
{
    return QStringLiteral("Kód pro Světelné efekty s Blikonem - [") + path + QLatin1Char(']');
}

}  // namespace blikon
