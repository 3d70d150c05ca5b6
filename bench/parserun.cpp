// Times the loading of documents as a comparison loads them (fingerprints made on the way),
// without comparing: each FILE on its own, or with --pair two files at once on two threads as
// the run driver reads a pair. Prints one line of milliseconds per load.
//   zov-parsebench FILE...
//   zov-parsebench --pair OLD NEW
#include "compare/fingerprint.h"
#include "config/cfgstore.h"
#include "model/zovtree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <memory>

namespace {

// The load's error text; empty when the document was read.
QString load(const QString& path, Zovtree& tree)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("cannot open ") + path;
    const Keyflags flags = Keyflags::fromConfig();
    tree.setNodeFinished(
        [flags](Zovnode* node) { node->setFingerprint(fingerprintFromChildren(node, flags)); });
    return tree.load(&file);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    Cfgstore::instance().useBuiltins();
    QStringList arguments = application.arguments().mid(1);
    const bool pair = !arguments.isEmpty() && arguments.first() == QLatin1String("--pair");
    if (pair)
        arguments.removeFirst();
    if (arguments.isEmpty() || (pair && arguments.size() != 2)) {
        std::fprintf(stderr, "usage: zov-parsebench FILE... | --pair OLD NEW\n");
        return 2;
    }
    if (pair) {
        QElapsedTimer timer;
        timer.start();
        Zovtree first;
        Zovtree second;
        QString firstError;
        std::unique_ptr<QThread> thread(
            QThread::create([&] { firstError = load(arguments.at(0), first); }));
        thread->start();
        const QString secondError = load(arguments.at(1), second);
        thread->wait();
        const qint64 elapsed = timer.elapsed();
        if (!firstError.isEmpty() || !secondError.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(firstError + secondError));
            return 1;
        }
        std::printf("%lld ms\n", static_cast<long long>(elapsed));
        return 0;
    }
    for (const QString& path : arguments) {
        QElapsedTimer timer;
        timer.start();
        Zovtree tree;
        const QString error = load(path, tree);
        const qint64 elapsed = timer.elapsed();
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
        std::printf("%lld ms %s\n", static_cast<long long>(elapsed), qPrintable(path));
    }
    return 0;
}
