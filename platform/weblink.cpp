#include "weblink.h"

#include "core/buildinfo.h"
#include "externalprograms.h"

#include <QUrl>

namespace blikon {

QString homePageAddress() { return QString::fromUtf8(buildinfo::kHomePage); }

void openHomePage()
{
    ExternalPrograms& programs = seam<ExternalPrograms>();
#ifdef Q_OS_WIN
    const QString commandLine = QStringLiteral("explorer.exe /n, ") + homePageAddress();
    if (const std::optional<qint64> task = programs.start(commandLine, WindowStyle::MinimizedFocus))
        programs.bringToFront(*task);
#else
    programs.openUrl(QUrl(homePageAddress()));
#endif
}

}  // namespace blikon
