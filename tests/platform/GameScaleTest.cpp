#include "GameScale.h"

#include <QtTest>

namespace tonovka::platform {

// The pages that players open the game in, as a browser gives them, with the main window of
// 504 x 414: the device pixels that one pixel of the game takes, and what the game then covers.
class GameScaleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitsThePageSharpWhereItCan_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("pixels");
        QTest::addColumn<double>("scale");
        QTest::newRow("desktop page: its own size") << 1024.0 << 768.0 << 1.0 << 1.0;
        QTest::newRow("twice the pixels: doubled") << 1024.0 << 768.0 << 2.0 << 2.0;
        QTest::newRow("tablet, touch") << 768.0 << 1024.0 << 2.0 << 2.0;
        QTest::newRow("phone upright: twice, not three times") << 390.0 << 844.0 << 3.0 << 2.0;
        QTest::newRow("phone on its side") << 844.0 << 390.0 << 3.0 << 2.0;
        QTest::newRow("laptop at 200 %: one device pixel") << 683.0 << 330.0 << 2.0 << 1.0;
        QTest::newRow("a window narrower than the game") << 400.0 << 600.0 << 1.0 << 400.0 / 504;
        QTest::newRow("the game exactly") << 504.0 << 414.0 << 1.0 << 1.0;
    }
    void fitsThePageSharpWhereItCan()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, pixels);
        QFETCH(double, scale);
        const double found = gameScale(width, height, pixels, 504, 414);
        QCOMPARE(found, scale);
        QVERIFY(504 * found <= width * pixels && 414 * found <= height * pixels);
    }
};

} // namespace tonovka::platform

QTEST_GUILESS_MAIN(tonovka::platform::GameScaleTest)
#include "GameScaleTest.moc"
