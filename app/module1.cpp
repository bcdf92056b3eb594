#include "module1.h"

#include "fuvod.h"
#include "ui/settingsstore.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <memory>

namespace blikon {

namespace {

// Reads a run of ASCII digits from `text` at `pos`; tells whether one of them is not zero.
qsizetype readDigits(QStringView text, qsizetype& pos, bool& nonZero)
{
    const qsizetype start = pos;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        nonZero = nonZero || text[pos] != u'0';
        ++pos;
    }
    return pos - start;
}

void skipSign(QStringView text, qsizetype& pos)
{
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        ++pos;
    }
}

std::optional<bool> numberTruthValue(QStringView text)
{
    qsizetype pos = 0;
    bool nonZero = false;
    skipSign(text, pos);
    qsizetype mantissaDigits = readDigits(text, pos, nonZero);
    if (pos < text.size() && (text[pos] == u'.' || text[pos] == u',')) {
        ++pos;
        mantissaDigits += readDigits(text, pos, nonZero);
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        ++pos;
        skipSign(text, pos);
        bool exponentNonZero = false;
        if (readDigits(text, pos, exponentNonZero) == 0) {
            return std::nullopt;
        }
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return nonZero;
}

// Suspends quitting on the last closed window: between closing the splash and showing
// the main window no window is visible, and that must not end the program.
class QuitOnLastWindowClosedSuspension {
public:
    QuitOnLastWindowClosedSuspension()
        : saved_(QGuiApplication::quitOnLastWindowClosed())
    {
        QGuiApplication::setQuitOnLastWindowClosed(false);
    }
    ~QuitOnLastWindowClosedSuspension() { QGuiApplication::setQuitOnLastWindowClosed(saved_); }
    QuitOnLastWindowClosedSuspension(const QuitOnLastWindowClosedSuspension&) = delete;
    QuitOnLastWindowClosedSuspension& operator=(const QuitOnLastWindowClosedSuspension&) = delete;

private:
    bool saved_;
};

// Runs the event loop until `duration` has passed on the monotonic clock. Timers may fire
// a little early, so the loop is entered again for whatever time is left.
void waitProcessingEvents(std::chrono::milliseconds duration)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (qint64 left = duration.count(); left > 0; left = duration.count() - clock.elapsed()) {
        timer.start(std::chrono::milliseconds(left));
        if (loop.exec() != 0) {
            return;  // the application is quitting
        }
    }
}

// Qt 6 asks for the file dialog's type names ("Folder", "%1 File") under the context
// QAbstractFileIconProvider; Qt's Czech catalogue still has them under QFileDialog.
class MovedQtTexts final : public QTranslator {
public:
    explicit MovedQtTexts(QTranslator& catalogue)
        : QTranslator(&catalogue)
        , catalogue_(catalogue)
    {
    }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        return catalogue_.translate("QFileDialog", source, disambiguation, n);
    }
    [[nodiscard]] bool isEmpty() const override { return false; }

private:
    const QTranslator& catalogue_;
};

bool showSplash(const SettingsStore& settings)
{
    const QString defaultValue = QStringLiteral("1");
    const QString stored = settings.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), defaultValue);
    // A value that is no truth value counts as the default "1" rather than ending the
    // program before it has shown a window.
    return parseTruthValue(stored).value_or(true);
}

// The catalogue built into the program (on Windows, where no Qt is installed to hold
// it), else Qt's translations folder.
QString defaultCatalogueFolder()
{
    const QString builtIn = QStringLiteral(":/translations");
    if (QFile::exists(builtIn + QStringLiteral("/qtbase_cs.qm")))
        return builtIn;
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

}  // namespace

QTranslator* installQtTranslation(const QString& folder)
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    const QString from = folder.isEmpty() ? defaultCatalogueFolder() : folder;
    if (!translator->load(QStringLiteral("qtbase_cs"), from) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    QCoreApplication::installTranslator(new MovedQtTexts(*translator));  // goes with the catalogue
    // The file dialog names file types in the default locale's language (its dates and
    // sizes follow the system's locale).
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    return translator.release();
}

std::optional<bool> parseTruthValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return numberTruthValue(trimmed);
}

QWidget* Module1::start(SettingsStore& settings, const MainWindowFactory& createMainWindow,
                        std::chrono::milliseconds splashTime)
{
    const QuitOnLastWindowClosedSuspension suspension;
    try {
        if (!showSplash(settings)) {
            QWidget* mainWindow = createMainWindow();
            if (mainWindow) {
                mainWindow->show();
            }
            return mainWindow;
        }
        auto splash = std::make_unique<FUvod>();
        splash->show();
        const QPointer<QWidget> mainWindow = createMainWindow();
        auto discard = qScopeGuard([&mainWindow] { delete mainWindow.data(); });
        waitProcessingEvents(splashTime);
        splash->close();
        splash.reset();
        if (!mainWindow) {
            return nullptr;
        }
        mainWindow->show();
        discard.dismiss();
        return mainWindow;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace blikon
