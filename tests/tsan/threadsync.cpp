// Linked into the ThreadSanitizer test programs only. Qt is not built with the sanitizer, so the
// ordering QThread gives (everything a thread did happens before wait() or isFinished() sees it
// finished) is invisible to it and a read after wait() looks like a race. These definitions take
// the place of Qt's for calls from the test programs and tell the sanitizer about that ordering.
#include <QThread>
#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

namespace {

template <typename Function> Function qtFunction(const char* symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

} // namespace

void QThread::start(Priority priority)
{
    using Start = void (*)(QThread*, Priority);
    static const Start real = qtFunction<Start>("_ZN7QThread5startENS_8PriorityE");
    // finished() is emitted in the thread itself after run(), before waiters are woken.
    connect(
        this, &QThread::finished, this, [this] { __tsan_release(this); }, Qt::DirectConnection);
    real(this, priority);
}

bool QThread::wait(QDeadlineTimer deadline)
{
    using Wait = bool (*)(QThread*, QDeadlineTimer);
    static const Wait real = qtFunction<Wait>("_ZN7QThread4waitE14QDeadlineTimer");
    const bool done = real(this, deadline);
    if (done)
        __tsan_acquire(this);
    return done;
}

bool QThread::isFinished() const
{
    using Finished = bool (*)(const QThread*);
    static const Finished real = qtFunction<Finished>("_ZNK7QThread10isFinishedEv");
    const bool done = real(this);
    if (done)
        __tsan_acquire(const_cast<QThread*>(this));
    return done;
}
