// Program entry: single-instance takeover, then the main window and the message loop.
#include "app/appicon.h"
#include "app/apptranslations.h"
#include "app/mainwindow.h"
#include "app/singleinstance.h"
#include "core/kezstr.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    installChineseTranslations(app);
    app.setWindowIcon(applicationIcon());

    // A running instance closes (saving its files) before this one reads them.
    SingleInstance instance;
    instance.closeRunningInstance();

    QGuiApplication::setApplicationDisplayName(QString::fromUtf8(kezstr(KezStr::EarlyTitle)));
    // The process ends when the main window has closed, not when its last window hides
    // (it may sit in the tray).
    app.setQuitOnLastWindowClosed(false);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    Tkezmainf window(QString(), arguments);
    QObject::connect(&window, &Tkezmainf::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Serving close requests only once the window exists, so a request always finds the
    // creation sequence done.
    instance.setCloseHandler([&window] { return window.close(); });
    instance.listen();
    window.showMaximized();
    return app.exec();
}
