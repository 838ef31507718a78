#include "drive.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    auto* window = new velvix::ui::Drive; // deletes itself when closed
    window->show();
    return app.exec();
}
