#include "ui/codeeditor.h"
#include "app/fblikon.h"
#include "tests/support/findchild.h"
#include "tests/support/gifreader.h"
#include "animation/gifrecording.h"
#include "tests/support/randomeffect.h"
#include "tests/support/mainwindowtest.h"

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

// "Uložit animaci GIF…" as the user meets it: the GIF it writes under the proposed name,
// the word on a cut effect, a file that cannot be written, and a long recording that
// leaves the window usable and can be cancelled.
class TestGifCommand : public MainWindowTest {
    Q_OBJECT

    // Saves the effect of `frames` random frames under `name` and waits for the end.
    void saveGif(int frames, const QString& name)
    {
        window_->setCodeText(frames == 0 ? QString() : QString::fromStdString(mcs51::Effect(frames, 41).program));
        fx_->dialogs.fileAnswers.append(fx_->path(name));
        child<QAction>(window_, QStringLiteral("mnuUlozitGif"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window_->findChild<GifRecording*>(), 60'000);
    }

private slots:
    void init()
    {
        openWindow();
        window_->show();
    }
    void cleanup() { fx_.reset(); }

    void savedOrTold_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");  // the start of the one message shown, if any
        QTest::addColumn<int>("images");       // in the file; -1 for no file
        QTest::newRow("three frames") << 3 << "efekt.gif" << QString() << 3;
        QTest::newRow("2,001 frames, cut") << 2001 << "dlouhy.gif"
                                           << "Efekt má víc než 2 000 snímků; GIF jich obsahuje jen prvních 2 000."
                                           << 2000;
        QTest::newRow("folder missing") << 3 << "chybi/efekt.gif" << "Vyskytla se chyba.\r\n'" << -1;
        QTest::newRow("empty program") << 0 << "prazdny.gif" << "Program je prázdný." << -1;
    }
    void savedOrTold()
    {
        QFETCH(int, frames);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(int, images);
        saveGif(frames, name);

        QCOMPARE(fx_->boxes.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(fx_->boxes.shown[0].text.startsWith(message), qPrintable(fx_->boxes.shown[0].text));
        if (images < 0) {
            QCOMPARE(entries(fx_->folder.path()), QStringList());  // nothing left behind
            return;
        }
        QCOMPARE(fx_->dialogs.fileRequests.size(), 1);
        QVERIFY(fx_->dialogs.fileRequests[0].content == FileDialogRequest::Content::Gif);
        QCOMPARE(fx_->dialogs.fileRequests[0].proposedName, QStringLiteral("animace.gif"));
        const ReadGif gif = readGif(readFile(fx_->path(name)));
        QVERIFY(gif.ok);
        QCOMPARE(int(gif.images.size()), images);
    }

    void longRecordingLeavesTheWindowUsableAndCancels()
    {
        window_->setCodeText(QString::fromStdString(mcs51::Effect(2000, 42).program));
        fx_->dialogs.fileAnswers.append(fx_->path("dlouhy.gif"));
        child<QAction>(window_, QStringLiteral("mnuUlozitGif"))->trigger();
        QTRY_VERIFY(window_->findChild<QProgressDialog*>(QStringLiteral("prgUlozitGif"))->isVisible());
        auto* progress = window_->findChild<QProgressDialog*>(QStringLiteral("prgUlozitGif"));
        QVERIFY(progress->value() < progress->maximum());

        window_->editor()->setFocus();
        QTest::keyClicks(window_->editor(), QStringLiteral("; dalsi"));
        QVERIFY(window_->editor()->toPlainText().contains(QStringLiteral("; dalsi")));
        QVERIFY(window_->findChild<GifRecording*>());  // still recording

        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);  // "Zrušit"
        QTRY_VERIFY(!window_->findChild<GifRecording*>());
        QVERIFY(!QFileInfo::exists(fx_->path("dlouhy.gif")));
        QCOMPARE(fx_->boxes.shown.size(), 0);
    }
};

QTEST_MAIN(TestGifCommand)
#include "test_gifcommand.moc"
