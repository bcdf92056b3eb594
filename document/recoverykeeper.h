#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace blikon {

class DocumentWindow;

// Keeps a main window's unsaved code text in the recovery store (RecoveryStore::shared):
// when the window closes, when the program ends, and 30 seconds after the text changed
// while the window is open, so that a crash loses at most those seconds. A text that is
// empty, or that a file holds (the last one opened or written), is not kept, and what
// the window kept before is dropped. It never asks and never reports: the window closes
// whether the store could be written or not. A child of the window.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 30'000;

    explicit RecoveryKeeper(DocumentWindow& window);
    ~RecoveryKeeper() override;

    // Whether `key` is the key of a window open in this run (not yet closed).
    [[nodiscard]] static bool isOpen(const QString& key);

    // Keeps the text as it is now, or drops what was kept (see above).
    void keepNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentWindow& window_;
    QString key_;  // the window's text in the store
    QTimer* timer_;
    bool kept_ = false;  // the store holds a text of this window
};

}  // namespace blikon
