// Times one run of the desktop program as a user sees it: from "Diff" until the trees are
// usable (both roots open with their first children), until the last slice of items is in, until
// the result is written, and the longest gap between ticks of a 20 ms timer on the GUI thread
// (the longest time the window could not repaint): overall, while the worker ran, and while the
// slices came in. With --again a second run of the same pair follows on the filled view; with
// --jump "Previous change" is pressed as soon as the trees are usable, which goes to the last
// change, far into the slices still to come.
//   zov-guibench old.xml new.xml [-cfg zov_cfg.xml] [--again] [--jump]
#include "app/mainwindow.h"
#include "gui/changenavigator.h"
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

namespace {

bool opened(const QTreeWidget* tree)
{
    const QTreeWidgetItem* root = tree->topLevelItem(0);
    return root && root->isExpanded() && root->childCount() > 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QStringList arguments { QStringLiteral("zov") };
    int runs = 1;
    int run = 1;
    bool jump = false;
    for (int i = 3; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--again"))
            runs = 2;
        else if (argument == QLatin1String("--jump"))
            jump = true;
        else
            arguments << argument;
    }
    if (argc < 3) {
        std::fputs(
            "usage: zov-guibench old.xml new.xml [-cfg zov_cfg.xml] [--again] [--jump]\n", stderr);
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
    qint64 longestFillGap = 0;
    qint64 usable = -1;
    qint64 complete = -1;
    qint64 written = -1;
    qint64 jumpTook = -1;
    Zovvisual* view = window.view();
    // One timer measures the gaps and watches the run, so no gap can end unmeasured.
    QTimer tick;
    tick.setInterval(20);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const qint64 gap = now - lastTick;
        longestGap = qMax(longestGap, gap);
        // Gaps that end while init, parse and compare still go, apart from filling the view.
        if (window.runner())
            longestRunGap = qMax(longestRunGap, gap);
        // Gaps that end after the first slice, while the rest of the items come in.
        if (usable >= 0 && complete < 0)
            longestFillGap = qMax(longestFillGap, gap);
        lastTick = now;
        if (usable < 0 && !window.runner() && opened(view->leftTree())
            && opened(view->rightTree())) {
            usable = now;
            // From a timer of its own: this one must keep ticking during the jump.
            if (jump && run == 1) {
                QTimer::singleShot(0, &window, [&] {
                    const qint64 start = clock.elapsed();
                    window.navigator()->previous();
                    jumpTook = clock.elapsed() - start;
                });
            }
        }
        if (usable >= 0 && complete < 0 && !view->isFilling())
            complete = now;
        if (written < 0 && !window.runner() && !window.writer())
            written = now;
        if (written >= 0 && usable < 0) {
            std::fputs("the run ended without filling the view\n", stderr);
            QCoreApplication::exit(1);
            return;
        }
        if (complete < 0 || written < 0 || (jump && run == 1 && jumpTook < 0))
            return;
        if (jumpTook >= 0 && run == 1)
            std::printf("jump to the last change took %.3f s\n", jumpTook / 1000.0);
        std::printf(
            "run %d: trees usable after %.3f s, all items after %.3f s, result written after "
            "%.3f s, longest gap between 20 ms ticks %.3f s (%.3f s while the worker ran, "
            "%.3f s while the slices came in)\n",
            run, usable / 1000.0, complete / 1000.0, written / 1000.0, longestGap / 1000.0,
            longestRunGap / 1000.0, longestFillGap / 1000.0);
        if (run < runs) {
            ++run;
            longestGap = longestRunGap = longestFillGap = 0;
            usable = complete = written = -1;
            clock.restart();
            lastTick = 0;
            window.diffButton()->click();
            return;
        }
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(500, [&] {
        clock.start();
        tick.start();
        window.diffButton()->click();
    });
    return QApplication::exec();
}
