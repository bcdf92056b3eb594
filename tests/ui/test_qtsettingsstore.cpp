#include "ui/qtsettingsstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using blikon::QtSettingsStore;

class tst_QtSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readingMissingKeysGivesDefaultsAndCreatesNothing();
    void savedTextReadsBackAfterReopening_data();
    void savedTextReadsBackAfterReopening();
    void accentedSectionKeepsItsName();
    void saveReplacesOnlyItsOwnKey();
    void unwritableStoreMakesSaveFail_data();
    void unwritableStoreMakesSaveFail();
    void saveSucceedsAgainOnceTheStoreIsWritable();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString file_;
};

void tst_QtSettingsStore::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    file_ = dir_->filePath(QStringLiteral("Blikon.ini"));
}

void tst_QtSettingsStore::cleanup() { dir_.reset(); }

void tst_QtSettingsStore::readingMissingKeysGivesDefaultsAndCreatesNothing()
{
    {
        const QtSettingsStore store(file_);
        QCOMPARE(store.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
                 QStringLiteral("1"));
        QCOMPARE(store.read(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("255")),
                 QStringLiteral("255"));
    }
    QVERIFY(QSettings(file_, QSettings::IniFormat).allKeys().isEmpty());

    // A section that exists does not make its missing keys readable.
    {
        QtSettingsStore store(file_);
        QVERIFY(store.save(QStringLiteral("Path"), QStringLiteral("R1"), QStringLiteral("40")));
        QCOMPARE(store.read(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("255")),
                 QStringLiteral("255"));
    }
    QCOMPARE(QSettings(file_, QSettings::IniFormat).allKeys(), QStringList{QStringLiteral("Path/R1")});
}

void tst_QtSettingsStore::savedTextReadsBackAfterReopening_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    QTest::newRow("splash off") << "Kalendář" << "ShowUvodT" << "0";
    QTest::newRow("colour") << "Path" << "Color" << "16711680";
    QTest::newRow("speed") << "Path" << "R1" << "100";
    QTest::newRow("decimal comma") << "Path" << "R1" << "2,5";
    QTest::newRow("spaces kept") << "Path" << "R1" << " 1 ";
    QTest::newRow("czech text") << "Kalendář" << "ShowUvodT" << "žluťoučký kůň";
    QTest::newRow("quotes and semicolon") << "Path" << "Color" << "\"a\"; b=c";
    QTest::newRow("empty is not missing") << "Path" << "Color" << "";
}

void tst_QtSettingsStore::savedTextReadsBackAfterReopening()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, text);

    {
        QtSettingsStore store(file_);
        QVERIFY(store.save(section, key, text));
    }
    const QtSettingsStore reopened(file_);
    QCOMPARE(reopened.read(section, key, QStringLiteral("default")), text);
}

void tst_QtSettingsStore::accentedSectionKeepsItsName()
{
    {
        QtSettingsStore store(file_);
        QVERIFY(store.save(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("0")));
    }
    const QtSettingsStore reopened(file_);
    QCOMPARE(reopened.read(QStringLiteral("Kalendar"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
             QStringLiteral("1"));
    QCOMPARE(reopened.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
             QStringLiteral("0"));
    QCOMPARE(QSettings(file_, QSettings::IniFormat).childGroups(), QStringList{QStringLiteral("Kalendář")});
}

void tst_QtSettingsStore::saveReplacesOnlyItsOwnKey()
{
    {
        QtSettingsStore store(file_);
        QVERIFY(store.save(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("255")));
        QVERIFY(store.save(QStringLiteral("Path"), QStringLiteral("R1"), QStringLiteral("100")));
        QVERIFY(store.save(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("65280")));
    }
    const QtSettingsStore reopened(file_);
    QCOMPARE(reopened.read(QStringLiteral("Path"), QStringLiteral("Color"), QString()), QStringLiteral("65280"));
    QCOMPARE(reopened.read(QStringLiteral("Path"), QStringLiteral("R1"), QString()), QStringLiteral("100"));
    QStringList keys = QSettings(file_, QSettings::IniFormat).allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{QStringLiteral("Path/Color"), QStringLiteral("Path/R1")}));
}

void tst_QtSettingsStore::unwritableStoreMakesSaveFail_data()
{
    QTest::addColumn<bool>("fileIsFolder");
    QTest::newRow("folder in the way of the file") << true;
    QTest::newRow("file in the way of the folder") << false;
}

void tst_QtSettingsStore::unwritableStoreMakesSaveFail()
{
    QFETCH(bool, fileIsFolder);

    QString storePath;
    if (fileIsFolder) {
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("Blikon.ini")));
        storePath = file_;
    } else {
        QFile blocker(dir_->filePath(QStringLiteral("Settings")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        storePath = dir_->filePath(QStringLiteral("Settings/Blikon.ini"));
    }

    QtSettingsStore store(storePath);
    QVERIFY(!store.save(QStringLiteral("Path"), QStringLiteral("R1"), QStringLiteral("55")));
    QVERIFY(!store.save(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("255")));
    QCOMPARE(store.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
             QStringLiteral("1"));
}

// A failed save does not stick to the store: once the folder in the way is gone, the
// next save reports success and is stored.
void tst_QtSettingsStore::saveSucceedsAgainOnceTheStoreIsWritable()
{
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("Blikon.ini")));
    QtSettingsStore store(file_);
    QVERIFY(!store.save(QStringLiteral("Path"), QStringLiteral("R1"), QStringLiteral("55")));

    QVERIFY(QDir(dir_->path()).rmdir(QStringLiteral("Blikon.ini")));
    QVERIFY(store.save(QStringLiteral("Path"), QStringLiteral("Color"), QStringLiteral("255")));
    const QtSettingsStore reopened(file_);
    QCOMPARE(reopened.read(QStringLiteral("Path"), QStringLiteral("Color"), QString()), QStringLiteral("255"));
}

QTEST_MAIN(tst_QtSettingsStore)
#include "test_qtsettingsstore.moc"
