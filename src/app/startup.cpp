#include "app/startup.h"

#include "app/closesignals.h"
#include "device/systemportlister.h"
#include "ui/appicon.h"
#include "ui/catalogue.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace zrv {

int runApplication(QApplication &app)
{
    return runApplication(app, systemPortLister());
}

int runApplication(QApplication &app, std::shared_ptr<const PortLister> ports)
{
    int status = 0;
    // Boxes without a parent window show the program's icon too.
    QApplication::setWindowIcon(appIcon());
    {
        MainWindow window(std::move(ports));
        if (QFile::exists(QString::fromLatin1(kCataloguePath))) {
            window.setWindowTitle(QStringLiteral("ZRV"));
            new CloseOnSignals(&window);
            window.show();
            status = app.exec();
        } else {
            QMessageBox::critical(nullptr, QStringLiteral("Error"), QStringLiteral("Startup error 0x0012"),
                                  QMessageBox::Ok, QMessageBox::NoButton);
            status = kMissingCatalogueExitStatus;
        }
    }
    return status;
}

} // namespace zrv
