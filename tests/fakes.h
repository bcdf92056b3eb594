#pragma once

// Stand-ins for the program's platform seams, for window tests.

#include "dialogs.h"
#include "handlerguard.h"
#include "keyboardlocks.h"
#include "messageboxes.h"
#include "printing.h"
#include "services.h"
#include "settingsstore.h"

#include <QList>
#include <QMap>

#include <stdexcept>
#include <string>

namespace blikon::testing {

// Records every message box and answers with a preset answer.
class FakeMessageBoxes final : public MessageBoxes {
public:
    FakeMessageBoxes() { Services::setMessageBoxes(this); }
    ~FakeMessageBoxes() override { Services::setMessageBoxes(nullptr); }

    MessageAnswer show(QWidget*, const MessageRequest& request) override
    {
        shown.append(request);
        return answer;
    }

    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Ok;
};

// A settings store in memory.
class FakeSettings final : public SettingsStore {
public:
    FakeSettings() { Services::setSettings(this); }
    ~FakeSettings() override { Services::setSettings(nullptr); }

    QString read(const QString& section, const QString& key, const QString& defaultValue) const override
    {
        return values.value(section + '/' + key, defaultValue);
    }
    bool save(const QString& section, const QString& key, const QString& text) override
    {
        if (failWrites)
            return false;
        values.insert(section + '/' + key, text);
        return true;
    }

    QMap<QString, QString> values;
    bool failWrites = false;
};

class FakeKeyboardLocks final : public KeyboardLocks {
public:
    FakeKeyboardLocks() { Services::setKeyboardLocks(this); }
    ~FakeKeyboardLocks() override { Services::setKeyboardLocks(nullptr); }
    LockStates read() const override { return states; }
    LockStates states;
};

// Answers file and colour dialogs from queues; an empty queue answers cancel.
class FakeDialogs final : public Dialogs {
public:
    FakeDialogs() { Services::setDialogs(this); }
    ~FakeDialogs() override { Services::setDialogs(nullptr); }

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

}  // namespace blikon::testing
