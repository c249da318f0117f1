#include "app/mainwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <exception>

namespace {
// The last line of defence: an error that escaped its handler is shown, not fatal.
class ToolApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(e.what()));
        }
        return false;
    }
};
} // namespace

int main(int argc, char* argv[]) {
    ToolApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("moduletool"));
    // The desktop entry that started it, so that the desktop shows the entry's icon.
    app.setDesktopFileName(QStringLiteral("org.moduletool.optimizer"));
    TForm1 w;
    // Without a window manager (a bare X server) "maximised" means nothing; start at the
    // full available size so the window fills the screen either way.
    if (QScreen* screen = QGuiApplication::primaryScreen()) w.setGeometry(screen->availableGeometry());
    w.showMaximized();
    return app.exec();
}
