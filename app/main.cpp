#include "fblikon.h"
#include "module1.h"
#include "ui/pictures.h"
#include "document/safefilewriter.h"
#include "platform/seam.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    blikon::keepRunningPastFileSizeLimit();
    QApplication app(argc, argv);
    blikon::installQtTranslation();  // without it Qt's own texts stay in English
    QApplication::setWindowIcon(blikon::pictures::programIcon());

    QWidget* first = blikon::Module1::start(blikon::seam<blikon::SettingsStore>(), &blikon::FBlikon::createFirst);
    if (!first)
        return 0;  // the start routine failed before any window opened
    return app.exec();
}
