// What the window adds to a run must stay cheap: a show under 2 ms, and the
// polls that let events through during a loop under 2% of the run time.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "pixel_model.h"
#include "window_bridge.h"
#include "window_fixture.h"

using namespace korvane;

namespace {

// Times every poll, so the share of the run spent polling can be told apart
// from the noise of whatever else the machine is doing.
class TimedPollBridge : public WindowBridge {
public:
    using WindowBridge::WindowBridge;
    int bridge_poll() override
    {
        QElapsedTimer clock;
        clock.start();
        const int halt = WindowBridge::bridge_poll();
        spentNs += clock.nsecsElapsed();
        ++calls;
        return halt;
    }
    qint64 spentNs = 0;
    int calls = 0;
};

}  // namespace

TEST_F(WindowTest, AShowTakesUnderTwoMilliseconds)
{
    openQuietly();
    window_->show();
    QElapsedTimer clock;
    clock.start();
    // Each pass changes a whole column, so every show copies and repaints.
    run("int i;\nmain()\n{\nfor (i = 0; i < 400; i++) {\nsetcolor(i);\nline(i, 0, i, 399);\n"
        "show();\n}\n}");
    const double perShow = clock.nsecsElapsed() / 1e6 / 400;
    std::printf("[ measured ] %.3f ms per show (draw, copy, repaint, events)\n", perShow);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_LT(perShow, 2.0);
}

TEST_F(WindowTest, PollingCostsUnderTwoPercentOfALoop)
{
    openQuietly();
    window_->show();
    QCoreApplication::processEvents();  // the first paint belongs to start-up, not to the run
    TXImage3 image;
    image.ResizeBmp(0, 400, 400);
    ras_set_point_clip(image.clips, 0, 399, 0, 399);
    TimedPollBridge bridge(image, *canvas(), *editor(), dialogs);
    Interpreter interpreter(bridge);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(interpreter.run_text("int i;\r\nmain()\r\n{\r\nfor (i = 0; i < 300000; i++) ;\r\n}"),
              RUN_OK);
    const double runMs = clock.nsecsElapsed() / 1e6;
    const double share = bridge.spentNs / 1e6 / runMs * 100;
    std::printf("[ measured ] %d polls in %.1f ms of run: %.3f ms in them, %.3f%%\n", bridge.calls,
                runMs, bridge.spentNs / 1e6, share);
    EXPECT_GT(bridge.calls, 10);
    EXPECT_LT(share, 2.0);
}
