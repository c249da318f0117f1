#include "app/mainwindow.h"

#include <QApplication>
#include <QMessageBox>

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
    TForm1 w;
    w.showMaximized();
    return app.exec();
}
