#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace blikon {

// One code text that the store keeps.
struct KeptText {
    QString key;       // the window's, one text a window
    QDateTime time;    // when it was last kept, UTC
    QString fileName;  // the file the window's title named, or empty
    QString text;      // the code text, CR LF line ends
};

// The texts of main windows that went, or may go, without being saved: a folder with
// one file a text, each written through writeFileSafely, so that a crash during a write
// leaves the text kept before. The newest kKept texts stay, older ones are dropped.
// Nothing here asks or reports: a folder that cannot be written keeps nothing, and a
// file that cannot be read is passed over.
//
//     RecoveryStore store(folder);
//     store.keep("w1", "/home/jan/had.asm", "mov R2,#0FEh");
//     RecoveryStore(folder).list();  // after a restart: {"w1", time, "/home/jan/had.asm", "mov R2,#0FEh"}
class RecoveryStore {
public:
    static constexpr int kKept = 20;

    explicit RecoveryStore(QString folder);

    // The user's store (a folder in QStandardPaths::AppLocalDataLocation), or the one a
    // test put in with setShared.
    [[nodiscard]] static RecoveryStore& shared();
    static void setShared(RecoveryStore* store);  // nullptr restores the user's

    [[nodiscard]] const QString& folder() const { return folder_; }

    // Keeps `utf8Text` under `key`, in place of what the key held, as the newest text
    // (later than every other, also within one millisecond); then drops the texts beyond
    // the newest kKept. False when it could not be written.
    bool keep(const QString& key, const QString& fileName, const QByteArray& utf8Text);

    // Drops the key's text; nothing when there is none.
    void drop(const QString& key);

    // Every kept text, newest first.
    [[nodiscard]] std::vector<KeptText> list() const;

private:
    struct Header {
        QString key;
        QDateTime time;
        QString fileName;
    };
    [[nodiscard]] std::vector<Header> headers() const;
    [[nodiscard]] QString pathOf(const QString& key) const;

    QString folder_;
};

}  // namespace blikon
