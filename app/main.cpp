#include "app/mainwindow.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <new>

// Nothing can be trusted to allocate any more: say so on both streams and leave at once.
static void outOfMemory()
{
    static const char message[]
        = "\nFatal error: application ran out of memory, terminating now!\n";
    std::fputs(message, stdout);
    std::fflush(stdout);
    std::fputs(message, stderr);
    std::fflush(stderr);
    std::_Exit(-1);
}

int main(int argc, char* argv[])
{
    std::set_new_handler(outOfMemory);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QApplication application(argc, argv);
    Mainwindow window(&arguments);
    window.show();
    return QApplication::exec();
}
