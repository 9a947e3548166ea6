// The main window: canvas and axis labels on the left, the program editor on
// the right, Run, Halt and Save Image below, the File and Edit menus and
// About. Runs the interpreter synchronously inside Run, as a click handler.
#pragma once

#include <QMainWindow>
#include <memory>

#include "interpreter.h"
#include "ximage3.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korvane {

class AboutBox;
class CanvasView;
class Dialogs;
class HelpWindow;
class Magnifier;
class WindowBridge;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kProgramFile = "xxx.cg";

    // Runs the start-up (palette dialog, last program) before returning.
    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    bool isRunning() const { return running_; }
    HelpWindow* helpWindow() const { return help_; }

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Open1Click();
    void Save1Click();
    void Exit1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void About1Click();
    void xmgClick();
    void xmgMouseMove(QPoint position);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormKeyDown(int key);
    void createWidgets();
    void createButtons();
    void createMenus();
    void placeLabels();
    void loadPalette();
    bool loadProgram(const QString& path);
    bool saveProgram(const QString& path);
    bool saveProgramAs();
    bool maybeSave();
    void setRunning(bool running);
    void reportRunResult(RunResult result);
    void markErrorLine(int line);

    Dialogs& dialogs_;
    TXImage3 image_;
    CanvasView* xmg = nullptr;
    Magnifier* Image1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Paste1 = nullptr;
    AboutBox* AboutBox_ = nullptr;
    HelpWindow* help_ = nullptr;
    std::unique_ptr<WindowBridge> bridge_;
    std::unique_ptr<Interpreter> interpreter_;
    QString programName_;  // offered again by Open and Save Program
    QString imageName_;    // offered again by Save Image
    bool running_ = false;
    bool closeAfterRun_ = false;
};

}  // namespace korvane
