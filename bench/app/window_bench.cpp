// SPDX-License-Identifier: GPL-3.0-or-later
// What the window adds to a run on its thread: a show (a copy handed to the
// window, which repaints it) and the polls that take the window's commands
// during a loop that never shows.
#include <benchmark/benchmark.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include "canvas_view.h"
#include "dialogs.h"
#include "interpreter.h"
#include "window_bridge.h"

namespace korvane {
namespace {

class QuietDialogs : public Dialogs {
public:
    void message(const QString&) override {}
    void note(const QString&) override {}
    QString askText(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&, QString*) override { return {}; }
    Choice askSaveChanges() override { return Choice::Discard; }
    bool askGifRange(uint64_t, uint64_t, GifRange&) override { return false; }
};

// Times every poll, so the share of a run spent polling can be told apart
// from the noise of whatever else the machine is doing.
class TimedPollBridge : public WindowBridge {
public:
    using WindowBridge::WindowBridge;
    int bridge_poll() override {
        QElapsedTimer clock;
        clock.start();
        const int halt = WindowBridge::bridge_poll();
        spent_ns += clock.nsecsElapsed();
        return halt;
    }
    qint64 spent_ns = 0;
};

TXImage3& prepared(TXImage3& image) {
    prepare_canvas(image);
    return image;
}

// The canvas view and editor a window bridge shows into, on screen; here
// the run's thread is the window's, which takes the frames after each run.
struct Window {
    TXImage3 image;
    CanvasView view;
    QsciScintilla editor;
    QPlainTextEdit output;
    QuietDialogs dialogs;
    QObject window;
    TimedPollBridge bridge{prepared(image), view, editor, output, dialogs, window};

    Window() {
        view.resize(kCanvasSize, kCanvasSize);
        view.show();
        QCoreApplication::processEvents();  // the first paint is not the run's
    }
};

void show(benchmark::State& state) {
    Window w;
    Interpreter interp(w.bridge);
    // Each pass changes a whole column, so every show copies and repaints.
    const char* program =
        "int i;\r\nmain()\r\n{\r\nfor (i = 0; i < 400; i++) {\r\nsetcolor(i);\r\n"
        "line(i, 0, i, 399);\r\nshow();\r\n}\r\n}";
    for (auto _ : state) {
        if (interp.run_text(program) != RUN_OK) state.SkipWithError("the program did not run");
        QCoreApplication::processEvents();
    }
    state.counters["per_show"] =
        benchmark::Counter(400, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void polling(benchmark::State& state) {
    Window w;
    Interpreter interp(w.bridge);
    qint64 run_ns = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (interp.run_text("int i;\r\nmain()\r\n{\r\nfor (i = 0; i < 300000; i++) ;\r\n}") != RUN_OK)
            state.SkipWithError("the program did not run");
        run_ns += clock.nsecsElapsed();
    }
    state.counters["poll_percent"] = run_ns > 0 ? 100.0 * static_cast<double>(w.bridge.spent_ns) / run_ns : 0;
}

BENCHMARK(show)->Unit(benchmark::kMillisecond);
BENCHMARK(polling)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
