#include "recoverystore.h"
#include "windowtest.h"

#include <QTest>

using namespace blikon;
using namespace blikon::testing;

namespace {

QStringList keysOf(const std::vector<KeptText>& texts)
{
    QStringList keys;
    for (const KeptText& kept : texts)
        keys << kept.key;
    return keys;
}

}  // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT

    std::optional<TestFolder> folder_;
    QString store() const { return folder_->path(QStringLiteral("obnova")); }

private slots:
    void init() { folder_.emplace(); }
    void cleanup() { folder_.reset(); }

    // The newest twenty stay, newest first, also when all are kept within a millisecond.
    void keepsTheNewestTwenty_data()
    {
        QTest::addColumn<int>("kept");
        QTest::addColumn<QStringList>("listed");
        const auto keys = [](int from, int to) {
            QStringList keys;
            for (int k = to; k >= from; --k)
                keys << QStringLiteral("w%1").arg(k);
            return keys;
        };
        QTest::newRow("1") << 1 << keys(1, 1);
        QTest::newRow("19") << 19 << keys(1, 19);
        QTest::newRow("20") << 20 << keys(1, 20);
        QTest::newRow("21: the first goes") << 21 << keys(2, 21);
    }
    void keepsTheNewestTwenty()
    {
        QFETCH(int, kept);
        QFETCH(QStringList, listed);
        RecoveryStore recovery(store());
        for (int k = 1; k <= kept; ++k)
            QVERIFY(recovery.keep(QStringLiteral("w%1").arg(k), {}, QByteArray::number(k)));
        const std::vector<KeptText> texts = recovery.list();
        QCOMPARE(keysOf(texts), listed);
        QCOMPARE(texts.front().text, QString::number(kept));
        QCOMPARE(QDir(store()).entryList(QDir::Files).size(), listed.size());  // no temporary file left
    }

    // A key holds one text; a new store over the same folder (the next run) reads it byte
    // for byte, with its file name; a file that is no kept text is passed over.
    void aKeyIsReplacedAndTheNextRunReadsIt()
    {
        const QString text = QStringLiteral("; žluť\r\n           mov R2,#0FEh\r\n");
        RecoveryStore first(store());
        QVERIFY(first.keep(QStringLiteral("a"), {}, "old"));
        QVERIFY(first.keep(QStringLiteral("b"), {}, "b"));
        QVERIFY(first.keep(QStringLiteral("a"), QStringLiteral("/home/jan/had [1].asm"), text.toUtf8()));
        QVERIFY(writeFile(store() + QStringLiteral("/broken.kod"), "no header\nmov"));
        QVERIFY(writeFile(store() + QStringLiteral("/other.kod"),
                          R"({"key":"b","time":"2026-01-01T00:00:00.000Z","file":""})" "\nanother key's"));
        const std::vector<KeptText> texts = RecoveryStore(store()).list();
        QCOMPARE(keysOf(texts), (QStringList{"a", "b"}));
        QCOMPARE(texts[0].text, text);
        QCOMPARE(texts[0].fileName, QStringLiteral("/home/jan/had [1].asm"));
        RecoveryStore(store()).drop(QStringLiteral("a"));
        QCOMPARE(keysOf(first.list()), QStringList{"b"});
    }
};

QTEST_MAIN(TestRecoveryStore)
#include "test_recoverystore.moc"
