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

void CodeDocument::showRecovered(const QString& path)
{
    fileName_ = path;
    titleFileName_ = path;
    saved_ = false;
    textInFile_.reset();
    window_->setWindowTitle(path.isEmpty() ? startTitle() : titleFor(path));
}

QString CodeDocument::startTitle() { return QStringLiteral("Kód pro Světelné efekty s Blikonem"); }

QString CodeDocument::titleFor(const QString& path)
{
    return startTitle() + QStringLiteral(" - [") + path + QLatin1Char(']');
}

}  // namespace blikon
