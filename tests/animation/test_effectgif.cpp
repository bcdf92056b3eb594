// The effect as an animated GIF, read back with giflib: one image per frame of the loop
// with its lamps lit at the hexagon's places in the lamp colour, the delays adding up to
// the loop's simulated time, the endless loop, the board's picture and nothing else.

#include "assembler.h"
#include "boardpicture.h"
#include "effectgif.h"

#include "gifreader.h"
#include "randomeffect.h"

#include <QTest>

#include <cmath>
#include <numeric>

using namespace blikon;
using namespace blikon::testing;

class TestEffectGif : public QObject {
    Q_OBJECT

    const BoardColors colors_{QColor(255, 200, 0), QColor(0, 128, 0), QColor(240, 240, 240)};

private slots:
    void threeFramesAtTheirSimulatedTimes_data()
    {
        QTest::addColumn<double>("crystalMHz");
        QTest::newRow("12 MHz") << 12.0;
        QTest::newRow("11.0592 MHz") << 11.0592;
        QTest::newRow("40 MHz") << 40.0;
    }
    void threeFramesAtTheirSimulatedTimes()
    {
        QFETCH(double, crystalMHz);
        const double cyclesPerSecond = crystalMHz * 1e6 / 12;
        const mcs51::Effect effect(3, 31);
        const mcs51::Assembly assembly = mcs51::assemble(effect.program);
        QVERIFY(assembly.ok());
        mcs51::EffectRecorder recorder(assembly.firmware(), 128, cyclesPerSecond, 3);
        const ReadGif gif = readGif(recordEffectGif(recorder, colors_));

        QVERIFY(gif.ok);
        QVERIFY(gif.loopsForever);
        QCOMPARE(int(gif.images.size()), 3);
        QCOMPARE(gif.images[0].size(), QSize(BoardPicture::kWidth, 209));
        double loopSeconds = 0;
        for (const mcs51::RecordedImage& image : recorder.images())
            loopSeconds += double(image.cycles) / cyclesPerSecond;
        QVERIFY(std::abs(std::accumulate(gif.delays.begin(), gif.delays.end(), 0) - loopSeconds * 100) <= 1.0);
        for (int k = 0; k < 3; ++k)
            for (Led led : allLeds()) {
                const QColor shown = gif.images[std::size_t(k)].pixelColor(BoardPicture::lampCentre(led));
                const QColor expected = effect.frames[std::size_t(k)].isLit(led) ? colors_.lit : colors_.unlit;
                QVERIFY2(shown == expected, qPrintable(QStringLiteral("frame %1, %2: %3")
                                                           .arg(k)
                                                           .arg(QString::fromStdString(ledName(led)), shown.name())));
            }
        // Nothing but lamps: the corners and the gaps between lamps are background.
        for (const QPoint at : {QPoint(0, 0), QPoint(239, 208), QPoint(120, 5)})
            QCOMPARE(gif.images[0].pixelColor(at), colors_.background);
    }
};

QTEST_MAIN(TestEffectGif)
#include "test_effectgif.moc"
