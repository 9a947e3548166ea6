// SPDX-License-Identifier: GPL-3.0-or-later
// Slow motion and stepping: the canvas shown and the line marked before each
// drawing call, pauses that Step, Continue, Halt and the close box end, and
// what the Variables and Call Stack panels show at a breakpoint.
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "pause_panels.h"
#include "timeline_bar.h"

#include "window_fixture.h"

using korvane::MainWindow;

namespace {

// Drawing calls on lines 3, 4 and 6; setcolor is not one.
const char* const kThreeCalls =
    "main()\n"
    "{\n"
    "setcolor(1);\n"
    "point(10,10);\n"
    "point(20,20);\n"
    "setcolor(2);\n"
    "fillrect(0,0,5,5);\n"
    "}";

// What the window shows at one moment of a run.
struct Seen {
    int line;           // the marked editor line, -1 for none
    int p10, p20, p00;  // display indices at (10,10), (20,20), (0,0)
    bool operator==(const Seen&) const = default;
};

}  // namespace

class TraceTest : public WindowTest {
protected:
    Seen seen() const
    {
        const QList<int> marks = markedLines(korvane::MARK_DRAWING);
        const int line = marks.isEmpty() ? -1 : marks.first();
        const auto& picture = canvas()->picture();
        return {line, picture.at(10, 10), picture.at(20, 20), picture.at(0, 0)};
    }
};

TEST_F(TraceTest, StepPausesBeforeEachDrawingCallShowingWhatCameBefore)
{
    MainWindow& window = openQuietly();
    editor()->setText(kThreeCalls);
    std::vector<Seen> pauses;
    onEachPause([&] {
        pauses.push_back(seen());
        window.stepProgram();
    });
    window.stepProgram();
    waitForRun();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    const std::vector<Seen> expected = {{3, 0, 0, 0}, {4, 1, 0, 0}, {6, 1, 1, 0}};
    EXPECT_EQ(pauses, expected);
    EXPECT_EQ(seen(), (Seen{-1, 1, 1, 2}));  // the last call shown, the mark gone
    EXPECT_FALSE(window.isRunning());
}

TEST_F(TraceTest, ContinueFromAPauseRunsOnAtFullSpeed)
{
    MainWindow& window = openQuietly();
    editor()->setText(kThreeCalls);
    int pauses = 0;
    onEachPause([&] {
        ++pauses;
        window.continueProgram();
    });
    window.stepProgram();
    waitForRun();
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(seen(), (Seen{-1, 1, 1, 2}));
}

TEST_F(TraceTest, StepDuringAFullSpeedRunPausesAtTheNextDrawingCall)
{
    MainWindow& window = openQuietly();
    std::vector<Seen> pauses;
    onEachPause([&] {
        pauses.push_back(seen());
        window.haltProgram();
    });
    QTimer::singleShot(50, &window, &MainWindow::stepProgram);
    run("main()\n{\nwhile (1)\npoint(5,5);\n}");
    ASSERT_EQ(pauses.size(), 1u);
    EXPECT_EQ(pauses[0].line, 3);
    EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 3\n"});
}

TEST_F(TraceTest, HaltOrTheCloseBoxInAPauseEndsTheRun)
{
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "close box" : "Halt");
        MainWindow& window = openQuietly();
        window.show();
        editor()->setText(kThreeCalls);
        onEachPause([&] { closing ? (void)window.close() : window.haltProgram(); });
        window.stepProgram();
        waitForRun();
        EXPECT_EQ(dialogs.messages, QStringList{"user terminated program in line 3\n"});
        EXPECT_FALSE(window.isRunning());
        EXPECT_EQ(window.isVisible(), !closing);
        EXPECT_EQ(canvas()->picture().at(10, 10), 0);  // the halted call never ran
        watcher_.disconnect();
        dialogs.messages.clear();
    }
}

// The wait before each call is far longer than any test may take, so a new
// state can only be seen while the run waits at a call; choosing the speed
// again ends that wait, and the run goes on to the next call.
TEST_F(TraceTest, SlowMotionShowsEveryCallAndMarksItsLineThenFullSpeedIsPlainAgain)
{
    MainWindow& window = openQuietly();
    constexpr int kDelay = 600000;
    window.setDrawSpeed(kDelay);
    std::vector<Seen> states;
    Seen last = seen();
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!window.isRunning() || seen() == last)
            return;
        last = seen();
        states.push_back(last);
        window.setDrawSpeed(window.bridge().drawDelay());
    });
    watcher.start(2);
    run(kThreeCalls);
    const std::vector<Seen> expected = {{3, 0, 0, 0}, {4, 1, 0, 0}, {6, 1, 1, 0}};
    EXPECT_EQ(states, expected);
    EXPECT_EQ(seen(), (Seen{-1, 1, 1, 2}));

    window.setDrawSpeed(0);
    states.clear();
    last = seen();
    run("main()\n{\nclear(0);\npoint(10,10);\n}");
    EXPECT_TRUE(states.empty());
    // The timeline alone still hears of every call.
    window.bridge().set_timeline(false);
    EXPECT_FALSE(window.bridge().bridge_traces_drawing());
}

TEST_F(TraceTest, ChoosingFullSpeedEndsASlowWaitAtOnce)
{
    MainWindow& window = openQuietly();
    window.setDrawSpeed(60000);
    QTimer::singleShot(50, &window, [&] { window.setDrawSpeed(0); });
    QElapsedTimer clock;
    clock.start();
    run(kThreeCalls);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(seen(), (Seen{-1, 1, 1, 2}));
}

namespace {

// "name=value" of each row under a branch of a model, a star when changed.
QStringList rows(const QAbstractItemModel& model, const QModelIndex& branch)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(branch); ++r)
        out << model.index(r, 0, branch).data().toString() + QLatin1Char('=') +
                   model.index(r, 1, branch).data().toString();
    return out;
}

}  // namespace

TEST_F(TraceTest, PanelsFollowEachPauseAndMarkWhatChanged)
{
    MainWindow& window = openQuietly();
    editor()->setText(
        "int total;\nadd(int n) {\n  total = total + n;\n}\nmain()\n{\n  int i;\n"
        "  for (i = 1; i < 3; i++)\n    add(i);\n}");
    editor()->setCursorPosition(2, 0);
    window.toggleBreakpoint();
    // A window as wide as the screen keeps the panels on the screen.
    const QRect screen = window.screen()->availableGeometry();
    window.setGeometry(screen.x(), screen.y(), screen.width(), window.height());
    auto* variablesDock = window.findChild<QDockWidget*>(QStringLiteral("VariablesDock"));
    auto* callView = window.findChild<QTreeView*>(QStringLiteral("CallStackView"));
    auto* variablesView = window.findChild<QTreeView*>(QStringLiteral("VariablesView"));
    ASSERT_TRUE(variablesDock && callView && variablesView);
    EXPECT_FALSE(variablesDock->isVisibleTo(&window));  // hidden until a pause
    std::vector<QStringList> seenAt;
    onEachPause([&] {
        const QAbstractItemModel& vars = *variablesView->model();
        const QAbstractItemModel& calls = *callView->model();
        QStringList at{window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text()};
        at << QString::number(markedLines(korvane::MARK_DRAWING).value(0, -1));
        for (int r = 0; r < calls.rowCount(); ++r)
            at << calls.index(r, 0).data().toString() + QLatin1Char('@') +
                      calls.index(r, 1).data().toString();
        at << rows(vars, vars.index(0, 0)) << rows(vars, vars.index(1, 0));
        // The caller's locals, as a click on its row shows them.
        callView->setCurrentIndex(calls.index(1, 0));
        at << vars.index(1, 0).data().toString() << rows(vars, vars.index(1, 0));
        seenAt.push_back(at);
        window.continueProgram();
    });
    window.continueProgram();  // idle, it runs
    waitForRun();
    const std::vector<QStringList> expected = {
        {"Paused at line 2 (breakpoint)", "2", "add@8", "main@", "total=0", "n=1",
         "Locals of main (depth 1)", "i=1"},
        {"Paused at line 2 (breakpoint)", "2", "add@8", "main@", "total=1 *", "n=2 *",
         "Locals of main (depth 1)", "i=2 *"},
    };
    EXPECT_EQ(seenAt, expected);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(variablesDock->isVisibleTo(&window));
    EXPECT_LE(window.frameGeometry().right(), screen.right());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text(), "Finished");
}

// Nothing shown may belong to another program: after New, Open or a new
// run the panels, timeline, inspector and status line start empty, and the
// pixel watches, which belong to a program, go with it and say so.
TEST_F(TraceTest, NewOpenAndRunForgetTheLastProgramsValues)
{
    MainWindow& window = openQuietly();
    window.show();
    window.showInspector(true);
    auto* variables = window.findChild<QTreeView*>(QStringLiteral("VariablesView"))->model();
    auto* calls = window.findChild<QTreeView*>(QStringLiteral("CallStackView"))->model();
    auto* status = window.findChild<QLabel*>(QStringLiteral("Status1"));
    const auto pauseOnce = [&] {
        editor()->setText(QStringLiteral("main()\n{\nint x;\nx = 10;\npoint(x, 5);\n}"));
        editor()->setCursorPosition(4, 0);
        window.toggleBreakpoint();
        onEachPause([&] { window.continueProgram(); });
        window.runProgram();
        waitForRun();
        watcher_.stop();
        ASSERT_EQ(calls->rowCount(), 1);
        window.canvasMouseMoved(QPoint(10, 394));
        ASSERT_FALSE(status->text().isEmpty());
        ASSERT_TRUE(window.timelineBar()->isEnabled());
    };
    const auto expectForgotten = [&](const char* moment) {
        EXPECT_EQ(variables->rowCount(), 0) << moment;
        EXPECT_EQ(calls->rowCount(), 0) << moment;
        EXPECT_FALSE(window.timelineBar()->isEnabled()) << moment;
        EXPECT_EQ(window.timelineBar()->callText(),
                  "The timeline of the calls appears after a run.")
            << moment;
        EXPECT_TRUE(status->text().isEmpty()) << moment;
        window.canvasMouseMoved(QPoint(10, 394));  // the old run's point: no origin now
        EXPECT_FALSE(status->text().contains(QStringLiteral("line 4"))) << moment;
    };
    pauseOnce();
    window.newProgram();
    expectForgotten("New");
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text(), "");

    pauseOnce();
    editor()->setModified(false);
    openNamed(QStringLiteral("other.cg"), "main()\r\n{\r\n}");
    expectForgotten("Open");

    // A run that never pauses shows no values of the run before it.
    pauseOnce();
    editor()->setText(QStringLiteral("main()\n{\n}"));
    editor()->setModified(false);
    window.runProgram();
    waitForRun();
    EXPECT_EQ(variables->rowCount(), 0);
    EXPECT_EQ(calls->rowCount(), 0);
}

TEST_F(TraceTest, WatchesAreListedNamedInThePauseAndGoWithTheirProgram)
{
    MainWindow& window = openQuietly();
    window.show();
    dialogs.textAnswers = QStringList{QStringLiteral("200, 100"), QStringLiteral("3 4")};
    window.askPixelWatch();
    window.askPixelWatch();
    editor()->setCursorPosition(0, 0);
    window.toggleBreakpoint();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("StopList"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    const auto entries = [&] {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    };
    EXPECT_EQ(entries(), (QStringList{"Breakpoint at line 0", "Watch pixel (200, 100)",
                                      "Watch pixel (3, 4)"}));
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(entries(), (QStringList{"Watch pixel (200, 100)", "Watch pixel (3, 4)"}));
    EXPECT_TRUE(markedLines(korvane::MARK_BREAKPOINT).isEmpty());

    QStringList paused;
    onEachPause([&] {
        paused << window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text();
        window.continueProgram();
    });
    run(
        QStringLiteral("main()\n{\nsetcolor(1);\npoint(3, 4);\npoint(200, 100);\n"
                       "setcolor(2);\nfillrect(0, 0, 399, 399);\n}"));
    EXPECT_EQ(paused,
              (QStringList{"Paused at line 3 (pixel 3, 4)", "Paused at line 4 (pixel 200, 100)",
                           "Paused at line 6 (pixel 200, 100 and 3, 4)"}));

    editor()->setModified(false);
    window.newProgram();
    EXPECT_EQ(entries(), QStringList{"No breakpoints or watched pixels"});
    EXPECT_TRUE(window.bridge().pixelWatches().empty());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RunStatus"))->text(),
              "Pixel watches cleared");
}
