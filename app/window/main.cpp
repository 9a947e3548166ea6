#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <exception>

#include "main_window.h"
#include "qt_dialogs.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    try {
        korvane::QtDialogs dialogs;
        korvane::MainWindow window(dialogs);
        dialogs.setOwner(&window);
        window.adjustSize();
        window.move(window.screen()->availableGeometry().center() - window.rect().center());
        window.show();
        app.exec();
    } catch (const std::exception& failure) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromLocal8Bit(failure.what()));
    }
    return 0;
}
