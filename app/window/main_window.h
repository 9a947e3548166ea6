// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: canvas and axis labels on the left, the program editor on
// the right, Run, Halt and Save Image below, the File and Edit menus and
// About. Run starts the program on a thread of its own (main_window_run.cpp)
// and the window stays live; the run's end comes back as finishRun.
// The View and Debug menus hold the tools that are off until chosen: the
// pixel inspector, the palette panel, slow motion, stepping and recording.
// The handlers live by concern: main_window_files.cpp (programs and images),
// main_window_edit.cpp, main_window_run.cpp (run, halt, speed),
// main_window_debug.cpp (Debug menu: breakpoints, steps, pauses, watches),
// main_window_tools.cpp (inspector, palette, GIF, help, About) and
// main_window_menus.cpp.
#pragma once

#include <QMainWindow>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "interpreter.h"
#include "pixel_watches.h"
#include "recent_files.h"
#include "ximage3.h"

class QActionGroup;
class QDialog;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QsciScintilla;
class QPushButton;
class QScrollArea;
class QSplitter;
class QThread;

namespace korvane {

namespace exercise {
struct Exercise;
}

class AboutBox;
class CanvasView;
class EditorAssist;
class Dialogs;
class ExercisePane;
struct CheckedRun;
class FindBar;
class HelpWindow;
class Magnifier;
class PalettePanel;
class TimelineBar;
class PausePanels;
class StopList;
class WindowBridge;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kProgramFile = "xxx.cg";
    static constexpr const char* kProgramFilter = "Korvane programs (*.cg)";

    // Runs the start-up (palette dialog, last program) before returning. A
    // program given here is opened in place of xxx.cg.
    explicit MainWindow(Dialogs& dialogs, const QString& program = QString(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    bool isRunning() const { return running_; }
    // True when the window took the size and place it had last time.
    bool placedFromMemory() const { return placedFromMemory_; }
    // Where File > Examples finds the example programs.
    void setExamplesFolder(const QString& folder) { examplesFolder_ = folder; }
    HelpWindow* helpWindow() const { return help_; }
    PalettePanel* palettePanel() const { return palette_; }
    TimelineBar* timelineBar() const { return timeline_; }
    WindowBridge& bridge() const { return *bridge_; }
    ExercisePane* exercisePane() const { return exercisePane_; }
    // A check runs on a thread of its own until its results are listed.
    bool isChecking() const;
    // Opens an exercise folder, a file in it or a zip of one, as Open
    // Exercise does once the file is chosen; false when it was refused.
    bool loadExercise(const QString& chosen);
    // Wait before each drawing call for the speeds the Debug menu offers; 0 is full speed.
    static constexpr int kDrawDelaysMs[] = {0, 10, 33, 100, 333, 1000};

signals:
    // A run ended and the window shows how.
    void runFinished();

public slots:
    void runProgram();
    void haltProgram();
    void saveImage();
    void newProgram();
    void openProgram();
    void openRecentProgram(const QString& path);
    void saveProgram();
    void saveProgramAs();
    void exitWindow();
    void undoEdit();
    void redoEdit();
    void cutText();
    void copyText();
    void pasteText();
    void selectAllText();
    void findText();
    void findNext();
    void replaceText();
    void goToLine();
    void showAbout();
    void canvasClicked();
    void canvasMouseMoved(QPoint position);
    void showInspector(bool on);
    void showPalette();
    void describeCanvas();
    // Shows the magnifier, or sends it to the canvas's next corner.
    void moveMagnifier();
    void stepProgram();  // Next Drawing Call
    void continueProgram();
    void stepOver();
    void stepInto();
    void stepOut();
    void runToCursor();
    void toggleBreakpoint();
    void askPixelWatch();
    void setDrawSpeed(int delayMs);
    void recordGif(bool on);
    void runOrContinue();
    void setCanvasZoom(int factor);
    void setLargerText(bool on);
    void zoomTextIn();
    void zoomTextOut();
    void normalTextSize();
    void openExercise();
    void checkExercise();
    void closeExercise();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window opens at this size of its central area: canvas on the left,
    // editor and output on the right, the button row below.
    static constexpr int kFormWidth = 1000;
    static constexpr int kFormHeight = 560;
    // Width a zoomed canvas leaves the editor column at least.
    static constexpr int kEditorRoom = 320;
    static constexpr int kCanvasSide = 400;
    static constexpr int kStatusHeight = 24;  // the inspector's line, under the buttons
    static constexpr int kOutputLines = 100000;
    static constexpr int kMaxCanvasZoom = 3;
    // Larger Text adds this many points to the window's and the editor's text.
    static constexpr int kFormPoints = 8;
    static constexpr int kEditorPoints = 9;
    static constexpr int kLargerPoints = 4;

    void startUp();
    // True when the key was the window's, not the focused control's.
    bool keyPressed(const QKeyEvent& key);
    // The panes F6 goes round, in order.
    QList<QWidget*> panes() const;
    void cyclePanes(int step);
    void growNewWindow(QWidget& window);
    void createWidgets();
    QWidget* createCanvasPanel();
    QWidget* createEditorColumn();
    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void fillRecentMenu();
    void createViewMenu();
    void createDebugMenu();
    void createSpeedMenu(QMenu& debug);
    void debugCommand(PauseCommand command);
    void breakpointsChanged();
    // The Breakpoints and Watches panel lists them as they are now.
    void listStops();
    // Panels, timeline, inspector and status line forget the last run, so
    // nothing shown belongs to another program (New, Open, Run).
    void forgetLastRun();
    // And the pixel watches too, for another program (New, Open).
    void forgetProgram();
    void keepBreakpoints();
    void restoreBreakpoints(const QString& path);
    void canvasMenu(QPoint position);
    void showPause(const PauseSnapshot& at);
    void setRunStatus(const QString& text);
    QString runStatus(RunResult result) const;
    void inspect(QPoint screen);
    // Places the canvas, its corner labels and Save Image for the zoom.
    void placeCanvas();
    // The canvas area shows the whole zoomed canvas where the screen has
    // room for it beside the editor, and scrolls where it has not.
    void fitCanvasArea();
    // Grows (or shrinks) the window by delta unless it fills the screen, so
    // a panel that appears gets room of its own rather than squeezing others.
    void resizeBy(QSize before, QSize delta);
    // The palette file remembered from an earlier start, or the one chosen
    // in the dialog (ask: always the dialog).
    void loadPalette(bool ask);
    void choosePalette();
    void restorePalette();
    // The canvas and the palette panel in the palette just loaded.
    void showPaletteColours();
    void fillExamplesMenu();
    void openExample(const QString& path);
    bool loadProgram(const QString& path);
    void setCurrentFile(const QString& path);
    bool writeProgram(const QString& path);
    bool saveTo(const QString& path);
    bool saveUnderChosenName();
    bool saveNamedOrAsk();
    bool isScratchFile(const QString& path) const;
    bool maybeSave();
    void setRunning(bool running);
    // On the window's thread once the run's thread ended: the window shows how.
    void finishRun(RunResult result);
    // Halts a run, waits for its thread and shows how it ended.
    void stopRun();
    // Runs job now where no run could touch what it touches (none going, or
    // paused), else on the run's thread at its next poll; true when now.
    bool touchRun(const std::function<void()>& job);
    // Changes the pixel watches as touchRun does, and lists them.
    void changeWatches(const std::function<void(PixelWatches&)>& change);
    void reportRunResult(RunResult result);
    void finishGif();
    void pauseChanged(bool paused);
    void createExerciseMenu();
    void startExercise(const QString& starter);
    // Gives Run the answers and seed of the check runCheck_.
    void prepareExerciseRun();
    void stopChecking();
    void showCheckInTimeline(const CheckedRun& chosen);

    Dialogs& dialogs_;
    TXImage3 image_;
    CanvasView* xmg = nullptr;
    Magnifier* Image1 = nullptr;
    QsciScintilla* Memo1 = nullptr;
    EditorAssist* assist_ = nullptr;     // tips, completion, warnings; owned by Memo1
    FindBar* findBar_ = nullptr;         // under the editor: Find, Replace
    QPlainTextEdit* output_ = nullptr;   // what print, puts and putch write
    QSplitter* editorSplit_ = nullptr;   // editor above, output below
    QWidget* canvasPanel_ = nullptr;     // canvas, corner labels, Save Image
    QScrollArea* canvasArea_ = nullptr;  // scrolls canvasPanel_ when zoomed past the screen
    QActionGroup* zooms_ = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Status1 = nullptr;  // the inspector's line under the buttons
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QMenu* Recent1 = nullptr;
    QMenu* examples_ = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Replace1 = nullptr;
    QAction* ToggleComment1 = nullptr;
    QAction* RecordGif1 = nullptr;
    QAction* ChoosePalette1 = nullptr;
    QAction* LargerText1 = nullptr;
    AboutBox* AboutBox_ = nullptr;
    HelpWindow* help_ = nullptr;
    QDialog* description_ = nullptr;  // View > Describe Canvas
    PalettePanel* palette_ = nullptr;
    TimelineBar* timeline_ = nullptr;
    QPoint inspected_;  // the pixel under the mouse, program coordinates
    std::unique_ptr<WindowBridge> bridge_;
    std::unique_ptr<Interpreter> interpreter_;
    QThread* runner_ = nullptr;       // the run's thread while a run goes on
    std::function<void()> afterRun_;  // once, when the run ends
    QString programName_;             // offered again by Open and Save Program
    QString currentFile_;             // the file the title names; empty when untitled
    QString imageName_;               // offered again by Save Image
    QString imageType_;               // and the file type chosen with it
    QString gifName_;                 // offered again by Record GIF
    RecentFiles recent_;
    QString examplesFolder_ = QStringLiteral("examples");
    bool placedFromMemory_ = false;
    bool running_ = false;
    PauseCommand startCommand_;  // how the run a Debug command starts begins
    PausePanels* panels_ = nullptr;
    StopList* stops_ = nullptr;
    QLabel* runStatus_ = nullptr;  // in the status bar, made by the first run
    std::map<QString, std::vector<int>> breakpointsByFile_;
    std::shared_ptr<const exercise::Exercise> exercise_;  // null when none is open
    std::unique_ptr<QTemporaryDir> exerciseFolder_;       // a zip's unpacked files
    QString exerciseName_;                                // offered again by Open Exercise
    size_t runCheck_ = 0;                                 // whose answers and seed Run uses
    ExercisePane* exercisePane_ = nullptr;
    QAction* Check1 = nullptr;
    QAction* closeExercise_ = nullptr;
    QThread* checker_ = nullptr;
    std::atomic<bool> stopCheck_ = false;
};

}  // namespace korvane
