#pragma once

// Stand-ins for the program's platform seams, for window tests.

#include "ui/dialogs.h"
#include "platform/externalprograms.h"
#include "platform/filesystem.h"
#include "ui/handlerguard.h"
#include "platform/keyboardlocks.h"
#include "ui/messageboxes.h"
#include "platform/seam.h"
#include "document/printing.h"
#include "platform/registry.h"
#include "platform/subprocess.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QUrl>

#include <stdexcept>
#include <string>

namespace blikon::testing {

// Records every message box and answers with a preset answer.
class FakeMessageBoxes final : public MessageBoxes {
public:
    FakeMessageBoxes() { replaceSeam<MessageBoxes>(this); }
    ~FakeMessageBoxes() override { replaceSeam<MessageBoxes>(nullptr); }

    MessageAnswer show(QWidget*, const MessageRequest& request) override
    {
        shown.append(request);
        return answer;
    }

    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Ok;
};

class FakeKeyboardLocks final : public KeyboardLocks {
public:
    FakeKeyboardLocks() { replaceSeam<KeyboardLocks>(this); }
    ~FakeKeyboardLocks() override { replaceSeam<KeyboardLocks>(nullptr); }
    LockStates read() const override
    {
        ++reads;
        return states;
    }
    LockStates states;
    mutable int reads = 0;
};

// Answers file and colour dialogs from queues; an empty queue answers cancel.
class FakeDialogs final : public Dialogs {
public:
    FakeDialogs() { replaceSeam<Dialogs>(this); }
    ~FakeDialogs() override { replaceSeam<Dialogs>(nullptr); }

    std::optional<QString> chooseFile(QWidget*, const FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override
    {
        colorStarts.append(initial);
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
    }

    QList<FileDialogRequest> fileRequests;
    QList<std::optional<QString>> fileAnswers;
    QList<QColor> colorStarts;
    QList<std::optional<QColor>> colorAnswers;
};

// Records every print job; `fail` makes the jobs fail.
class FakePrinter final : public Printer {
public:
    FakePrinter() { setActivePrinter(this); }
    ~FakePrinter() override { setActivePrinter(nullptr); }

    bool printJob(const QString& text) override
    {
        jobs.append(text);
        return !fail;
    }

    QStringList jobs;
    bool fail = false;
};

// Makes the handler or fail point of the given name throw while it lives.
class FailAt {
public:
    explicit FailAt(std::string point)
    {
        HandlerGuard::setFaultInjector([point = std::move(point)](std::string_view at) {
            if (at == point)
                throw std::runtime_error("injected failure");
        });
    }
    ~FailAt() { HandlerGuard::setFaultInjector({}); }
    FailAt(const FailAt&) = delete;
    FailAt& operator=(const FailAt&) = delete;
};

// A registry in memory, as a normal user sees it: keys opened for more than reading
// are refused. Counts the keys left open.
class FakeRegistry final : public Registry {
public:
    FakeRegistry() { replaceSeam<Registry>(this); }
    ~FakeRegistry() override { replaceSeam<Registry>(nullptr); }

    void set(const QString& key, const QString& valueName, std::uint32_t type, const QByteArray& data)
    {
        keys[key][valueName] = Value{type, data};
    }

    std::optional<Key> openKey(RegistryRoot, const QString& keyName, std::uint32_t access) override
    {
        if (!keys.contains(keyName) || (access & ~grantedAccess) != 0)
            return std::nullopt;
        const Key key = nextKey++;
        openKeys.insert(key, keyName);
        return key;
    }
    std::optional<Value> queryValue(Key key, const QString& valueName, std::size_t bufferSize) override
    {
        if (failReads)
            throw std::runtime_error("registry read failed");
        const QMap<QString, Value> values = keys.value(openKeys.value(key));
        if (!openKeys.contains(key) || !values.contains(valueName))
            return std::nullopt;
        const Value value = values.value(valueName);
        if (static_cast<std::size_t>(value.data.size()) > bufferSize)
            return std::nullopt;
        return value;
    }
    std::optional<QString> valueName(Key key, std::uint32_t index) override
    {
        const QStringList names = keys.value(openKeys.value(key)).keys();
        return openKeys.contains(key) && index < std::uint32_t(names.size()) ? std::optional(names[int(index)])
                                                                            : std::nullopt;
    }
    void closeKey(Key key) override { openKeys.remove(key); }

    QMap<QString, QMap<QString, Value>> keys;
    QMap<Key, QString> openKeys;
    std::uint32_t grantedAccess = kKeyRead;
    bool failReads = false;
    Key nextKey = 1;
};

// Records every program start and URL. A start succeeds when the command line's
// program is one of `installed`.
class FakeExternalPrograms final : public ExternalPrograms {
public:
    FakeExternalPrograms() { replaceSeam<ExternalPrograms>(this); }
    ~FakeExternalPrograms() override { replaceSeam<ExternalPrograms>(nullptr); }

    struct Start {
        QString commandLine;
        WindowStyle style;
    };

    std::optional<qint64> start(const QString& commandLine, WindowStyle style) override
    {
        starts.append({commandLine, style});
        const QStringList parts = QProcess::splitCommand(commandLine);
        if (parts.isEmpty() || !installed.contains(parts.first()))
            return std::nullopt;
        return nextTask++;
    }
    bool bringToFront(qint64 taskId) override
    {
        broughtToFront.append(taskId);
        return true;
    }
    bool openUrl(const QUrl& address) override
    {
        openedUrls.append(address);
        return true;
    }

    QStringList installed;
    QList<Start> starts;
    QList<qint64> broughtToFront;
    QList<QUrl> openedUrls;
    qint64 nextTask = 100;
};

// A file system that holds the listed files.
class FakeFileSystem final : public FileSystem {
public:
    FakeFileSystem() { replaceSeam<FileSystem>(this); }
    ~FakeFileSystem() override { replaceSeam<FileSystem>(nullptr); }

    bool fileExists(const QString& path) const override
    {
        asked.append(path);
        return files.contains(path);
    }

    QStringList files;
    mutable QStringList asked;
};

// A child process that runs nothing: the test reads what it was started with and
// speaks for it. stop() ends it as killed.
class FakeChildProcess final : public ChildProcess {
public:
    void start(const QString& program, const QStringList& arguments, const QString& workingFolder) override
    {
        this->program = program;
        this->arguments = arguments;
        folder = workingFolder;
    }
    void stop() override
    {
        stopped = true;
        emit finished({ProcessEnd::Kind::Crashed, 0});
    }
    void say(const QByteArray& bytes) { emit output(bytes); }
    void end(int exitCode) { emit finished({ProcessEnd::Kind::Exited, exitCode}); }

    QString program;
    QStringList arguments;
    QString folder;
    bool stopped = false;
};

// Makes FakeChildProcesses and keeps a pointer to each, in order.
class FakeChildProcesses final : public ChildProcesses {
public:
    FakeChildProcesses() { replaceSeam<ChildProcesses>(this); }
    ~FakeChildProcesses() override { replaceSeam<ChildProcesses>(nullptr); }

    std::unique_ptr<ChildProcess> make() override
    {
        auto process = std::make_unique<FakeChildProcess>();
        made.append(process.get());
        return process;
    }

    QList<QPointer<FakeChildProcess>> made;
};

}  // namespace blikon::testing
