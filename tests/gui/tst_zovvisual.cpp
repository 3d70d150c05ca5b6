#include <QtTest>
class Tst_zovvisual : public QObject {
    Q_OBJECT
};
QTEST_MAIN(Tst_zovvisual)
#include "tst_zovvisual.moc"
