// Times one run of the desktop program as a user sees it: from "Diff" until the trees are
// filled, until the result is written, and the longest gap between ticks of a 20 ms timer on
// the GUI thread meanwhile (the longest time the window could not repaint).
//   zov-guibench old.xml new.xml [-cfg zov_cfg.xml]
#include "app/mainwindow.h"
#include "gui/zovvisual.h"
#include "run/runthread.h"
#include "run/writethread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QStringList arguments { QStringLiteral("zov") };
    for (int i = 3; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (argc < 3) {
        std::fputs("usage: zov-guibench old.xml new.xml [-cfg zov_cfg.xml]\n", stderr);
        return 2;
    }
    Mainwindow window(&arguments);
    window.show();
    window.pathField1()->setText(QString::fromLocal8Bit(argv[1]));
    window.setpath1();
    window.pathField2()->setText(QString::fromLocal8Bit(argv[2]));
    window.setpath2();

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    qint64 longestRunGap = 0;
    qint64 filled = -1;
    // One timer measures the gaps and watches the run, so no gap can end unmeasured.
    QTimer tick;
    tick.setInterval(20);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = qMax(longestGap, now - lastTick);
        // Gaps that end while init, parse and compare still go, apart from filling the view.
        if (window.runner())
            longestRunGap = qMax(longestRunGap, now - lastTick);
        lastTick = now;
        if (filled < 0 && !window.runner() && window.view()->rightTree()->topLevelItemCount() > 0)
            filled = now;
        if (window.runner() || window.writer())
            return;
        std::printf("trees usable after %.3f s, result written after %.3f s, longest gap "
                    "between 20 ms ticks %.3f s (%.3f s while the worker ran)\n",
            filled / 1000.0, now / 1000.0, longestGap / 1000.0, longestRunGap / 1000.0);
        QCoreApplication::exit(filled < 0 ? 1 : 0);
    });
    QTimer::singleShot(500, [&] {
        clock.start();
        tick.start();
        window.diffButton()->click();
    });
    return QApplication::exec();
}
