#include "windowplacement.h"

#include <QTest>

using namespace blikon;

namespace {

const QRect kScreen(0, 0, 1280, 1024);
const QRect kOwner(100, 50, 400, 300);  // right edge 499, bottom 349
const QSize kFrame(300, 200);

}  // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    // Right of the owner 8 pixels away, below the windows there, then left of it, then
    // beside the others; where nothing is free, right of it as long as that stays on the
    // screen.
    void besideTheOwnerClearOfTheOthers_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QList<QRect>>("taken");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("nothing taken") << kOwner << QList<QRect>{} << QPoint(508, 50);
        QTest::newRow("one window right") << kOwner << QList<QRect>{{508, 50, 300, 200}} << QPoint(508, 258);
        QTest::newRow("touching from below") << kOwner << QList<QRect>{{508, 250, 300, 200}} << QPoint(508, 50);
        QTest::newRow("a pixel into the place") << kOwner << QList<QRect>{{807, 0, 10, 51}} << QPoint(508, 59);
        QTest::newRow("a pixel beside the place") << kOwner << QList<QRect>{{808, 0, 10, 51}} << QPoint(508, 50);
        QTest::newRow("right column full") << QRect(400, 50, 400, 300)
                                           << QList<QRect>{{808, 0, 300, 1024}} << QPoint(92, 50);
        QTest::newRow("left edge of the screen")
            << QRect(308, 0, 400, 300) << QList<QRect>{{716, 0, 300, 1024}} << QPoint(0, 0);
        QTest::newRow("a pixel too far left")
            << QRect(307, 0, 400, 300) << QList<QRect>{{715, 0, 300, 1024}} << QPoint(715, 0);
        QTest::newRow("beside the windows taken")
            << QRect(40, 40, 400, 293) << QList<QRect>{{448, 40, 464, 264}, {448, 312, 370, 700}} << QPoint(826, 312);
        QTest::newRow("right screen edge") << QRect(972, 0, 300, 300) << QList<QRect>{} << QPoint(664, 0);
        QTest::newRow("fits the right edge") << QRect(672, 0, 300, 300) << QList<QRect>{} << QPoint(980, 0);
        QTest::newRow("no room at all") << QRect(0, 0, 1280, 1024) << QList<QRect>{} << QPoint(980, 0);
        QTest::newRow("owner above the screen") << QRect(100, -40, 400, 300) << QList<QRect>{} << QPoint(508, 0);
    }
    void besideTheOwnerClearOfTheOthers()
    {
        QFETCH(QRect, owner);
        QFETCH(QList<QRect>, taken);
        QFETCH(QPoint, place);
        QCOMPARE(placeBeside(owner, kFrame, taken, kScreen), place);
    }

    void newWindowDownAndRightOfItsOrigin_data()
    {
        QTest::addColumn<QRect>("from");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("room") << kOwner << QPoint(130, 80);
        QTest::newRow("at the bottom edge") << QRect(100, 794, 400, 300) << QPoint(130, 824);
        QTest::newRow("a pixel past the bottom") << QRect(100, 795, 400, 300) << QPoint(0, 0);
        QTest::newRow("at the right edge") << QRect(950, 0, 400, 300) << QPoint(980, 30);
        QTest::newRow("a pixel past the right") << QRect(951, 0, 400, 300) << QPoint(0, 0);
    }
    void newWindowDownAndRightOfItsOrigin()
    {
        QFETCH(QRect, from);
        QFETCH(QPoint, place);
        QCOMPARE(placeCascaded(from, kFrame, kScreen), place);
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_windowplacement.moc"
