#include "navpair.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/summarybar.h"
#include "gui/zovresources.h"
#include "gui/zovvisual.h"
#include "run/diffscenario.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class Tst_summarybar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void countsOfTheExamplePair_data();
    void countsOfTheExamplePair();
    void legendLooksLikeTheView_data();
    void legendLooksLikeTheView();
    void clickingChoosesAKind();
    void labelsReadableAt1024();

private:
    std::unique_ptr<Navpair> m_pair;
    std::unique_ptr<Zovvisual> m_view;
    std::unique_ptr<Summarybar> m_bar;
};

void Tst_summarybar::initTestCase() { zovInitResources(); }

void Tst_summarybar::init()
{
    Cfgstore::instance().useBuiltins();
    m_pair = std::make_unique<Navpair>();
    m_view = std::make_unique<Zovvisual>();
    m_bar = std::make_unique<Summarybar>(m_view.get());
}

void Tst_summarybar::cleanup()
{
    m_bar.reset();
    m_view->reset();
    m_view.reset();
    m_pair.reset();
}

void Tst_summarybar::countsOfTheExamplePair_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("countAsMoved");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    // b1 and b2 swapped: b2 kept its order with the rest and only shifted, b1 moved with a new
    // price; b3 changed its lang attribute; the magazine went, b4 came and the note got a longer
    // text. Below b1 title and author match, the price and its text changed.
    const auto row = [](int entry, int count, int asMoved, const char* text, const char* tip) {
        QTest::newRow(text) << entry << count << asMoved << QString(text) << QString(tip);
    };
    row(complete_match, 3, 2, "unchanged: 3", "complete match: 3");
    row(position_change, 0, 1, "moved: 0", "position change: 0");
    row(content_change, 4, 4, "changed: 4", "content change: 4");
    row(attribute_change, 1, 1, "attributes: 1", "attribute change: 1");
    row(attribute_and_content_change, 0, 0, "changed+attr.: 0", "attribute and content change: 0");
    row(position_and_content_change, 1, 1, "moved+changed: 1", "position and content change: 1");
    row(element_added, 1, 1, "added: 1", "element added: 1");
    row(element_deleted, 1, 1, "deleted: 1", "element deleted: 1");
    row(Marklook::shiftedEntry, 1, 1, "shifted: 1", "Shifted: 1");
}

void Tst_summarybar::countsOfTheExamplePair()
{
    QFETCH(int, entry);
    QFETCH(int, count);
    QFETCH(int, countAsMoved);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* name : { "old.xml", "new.xml", "zov_cfg.xml" }) {
        QVERIFY(QFile::copy(QStringLiteral(ZOV_EXAMPLES "/") + QLatin1String(name),
            dir.filePath(QLatin1String(name))));
    }
    const QString start = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QStringList arguments { QStringLiteral("zov"), QStringLiteral("old.xml"),
        QStringLiteral("new.xml"), QStringLiteral("-cfg"), QStringLiteral("zov_cfg.xml") };
    {
        Diffscenario run(arguments, true);
        QCOMPARE(run.init(), 0);
        QCOMPARE(run.parseFiles(), 0);
        QCOMPARE(run.compare(), 0);
        m_view->setShiftedAsMoved(false);
        m_view->show(run.tree1(), run.resultTree());
        QCOMPARE(m_bar->count(entry), count);
        QCOMPARE(m_bar->button(entry)->text(), text);
        // The short label's full text, the configured mark text, is in the tip.
        QVERIFY(m_bar->button(entry)->toolTip().startsWith(tip + QLatin1Char('\n')));
        // Nothing of a kind: greyed.
        QCOMPARE(m_bar->button(entry)->isEnabled(), count != 0);
        m_view->setShiftedAsMoved(true);
        QCOMPARE(m_bar->count(entry), countAsMoved);
        m_view->setShiftedAsMoved(false);
        m_view->reset();
    }
    QVERIFY(QDir::setCurrent(start));
}

void Tst_summarybar::legendLooksLikeTheView_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("icon");
    QTest::newRow("content change")
        << int(content_change) << QColor(Qt::red) << ":/img/book_red.bmp";
    QTest::newRow("position change")
        << int(position_change) << QColor(Qt::blue) << ":/img/book_blue.bmp";
    QTest::newRow("element deleted")
        << int(element_deleted) << QColor(160, 160, 164) << ":/img/book_light.bmp";
    QTest::newRow("position and attribute change")
        << int(position_and_attribute_change) << QColor(Qt::magenta) << ":/img/book_purple.bmp";
    QTest::newRow("complete match") << int(complete_match) << QColor() << ":/img/book_norm.bmp";
}

void Tst_summarybar::legendLooksLikeTheView()
{
    QFETCH(int, kind);
    QFETCH(QColor, colour);
    QFETCH(QString, icon);
    // Mark texts come from the configuration.
    Cfgstore::instance().setParameter(changekindKey(kind), QStringLiteral("kind %1").arg(kind));
    m_view->show(m_pair->left.get(), m_pair->right.get());
    QToolButton* button = m_bar->button(kind);
    QVERIFY(button->toolTip().startsWith(QStringLiteral("kind %1: ").arg(kind)));
    const QColor shown = button->palette().color(QPalette::Active, QPalette::ButtonText);
    QCOMPARE(shown, colour.isValid() ? colour : m_bar->palette().color(QPalette::ButtonText));
    QCOMPARE(iconImage(button->icon()), iconImage(QIcon(icon)));
}

void Tst_summarybar::clickingChoosesAKind()
{
    m_view->show(m_pair->left.get(), m_pair->right.get());
    QSignalSpy chosen(m_bar.get(), &Summarybar::kindChosen);
    m_bar->button(element_added)->click();
    QCOMPARE(m_bar->chosenKind(), int(element_added));
    m_bar->button(position_change)->click();
    QCOMPARE(m_bar->chosenKind(), int(position_change));
    QVERIFY(!m_bar->button(element_added)->isChecked());
    m_bar->button(position_change)->click();
    QCOMPARE(m_bar->chosenKind(), 0);
    // Complete matches cannot be chosen.
    m_bar->button(complete_match)->click();
    QCOMPARE(m_bar->chosenKind(), 0);
    QCOMPARE(chosen.size(), 3);

    // A new run lifts the choice.
    m_bar->button(element_deleted)->click();
    m_view->reset();
    QCOMPARE(m_bar->chosenKind(), 0);
    QVERIFY(!m_bar->button(element_deleted)->isChecked());
    QCOMPARE(chosen.last().at(0).toInt(), 0);
    QCOMPARE(m_bar->count(content_change), -1);
}

void Tst_summarybar::labelsReadableAt1024()
{
    m_view->show(m_pair->left.get(), m_pair->right.get());
    m_bar->resize(1024, m_bar->heightForWidth(1024));
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
    for (int entry = complete_match; entry <= Marklook::shiftedEntry; ++entry) {
        const QToolButton* button = m_bar->button(entry);
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        QVERIFY2(m_bar->rect().contains(button->geometry()), qPrintable(button->text()));
    }
}

QTEST_MAIN(Tst_summarybar)
#include "tst_summarybar.moc"
