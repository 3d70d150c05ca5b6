#include "testsupport.h"

#include "config/anchor.h"
#include "config/cfgstore.h"

namespace {

class Compactparser {
public:
    explicit Compactparser(const QString& text)
        : m_text(text)
    {
    }

    std::unique_ptr<Zovnode> parseNode()
    {
        skipBlanks();
        if (atEnd())
            return nullptr;
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('\''))
            return std::make_unique<Zovnode>(quoted(), Text);
        if (c == QLatin1Char('!')) {
            ++m_pos;
            return std::make_unique<Zovnode>(quoted(), Comment);
        }
        if (c == QLatin1Char('%')) {
            ++m_pos;
            return std::make_unique<Zovnode>(quoted(), Cdata);
        }
        if (c == QLatin1Char('?')) {
            ++m_pos;
            const QString target = word();
            return std::make_unique<Zovpinode>(target, quoted());
        }
        const QString name = word();
        if (name.isEmpty())
            return nullptr;
        std::unique_ptr<Zovnode> element;
        if (peek(QLatin1Char('{'))) {
            ++m_pos;
            QStringList strings;
            while (!atEnd() && m_text[m_pos] != QLatin1Char('}')) {
                strings << word();
                if (!peek(QLatin1Char('=')))
                    return nullptr;
                ++m_pos;
                strings << word();
                if (peek(QLatin1Char(',')))
                    ++m_pos;
            }
            ++m_pos;
            element = std::make_unique<Zovattrelementnode>(
                name, int(strings.size()), strings.constData());
        } else {
            element = std::make_unique<Zovelementnode>(name);
        }
        if (peek(QLatin1Char('('))) {
            ++m_pos;
            for (;;) {
                skipBlanks();
                if (atEnd())
                    return nullptr;
                if (m_text[m_pos] == QLatin1Char(')')) {
                    ++m_pos;
                    break;
                }
                std::unique_ptr<Zovnode> child = parseNode();
                if (!child)
                    return nullptr;
                element->appendChild(child.release());
            }
        }
        return element;
    }

    bool finished()
    {
        skipBlanks();
        return atEnd() && m_ok;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    bool peek(QChar c) const { return !atEnd() && m_text[m_pos] == c; }
    void skipBlanks()
    {
        while (!atEnd() && m_text[m_pos] == QLatin1Char(' '))
            ++m_pos;
    }
    QString word()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && QStringLiteral(" (){}=,'").indexOf(m_text[m_pos]) < 0)
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    QString quoted()
    {
        if (!peek(QLatin1Char('\''))) {
            m_ok = false;
            return QString();
        }
        const qsizetype end = m_text.indexOf(QLatin1Char('\''), m_pos + 1);
        if (end < 0) {
            m_ok = false;
            m_pos = m_text.size();
            return QString();
        }
        const QString result = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
        return result;
    }

    const QString m_text;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

bool isMark(const Zovnode* node)
{
    return node->kind() == Pi && node->text() == QLatin1String("ZOV");
}

} // namespace

std::unique_ptr<Zovnode> buildTree(const QString& compact)
{
    Compactparser parser(compact);
    std::unique_ptr<Zovnode> root = parser.parseNode();
    if (!root || !parser.finished())
        return nullptr;
    return root;
}

QString dumpNode(const Zovnode* node)
{
    if (isMark(node))
        return QLatin1Char('[') + node->value() + QLatin1Char(']');
    switch (node->kind()) {
    case Text:
        return QLatin1Char('\'') + node->text() + QLatin1Char('\'');
    case Comment:
        return QStringLiteral("!'") + node->text() + QLatin1Char('\'');
    case Cdata:
        return QStringLiteral("%'") + node->text() + QLatin1Char('\'');
    case Pi:
        return QLatin1Char('?') + node->text() + QLatin1Char('\'') + node->value()
            + QLatin1Char('\'');
    default:
        break;
    }
    QString out = node->text();
    if (node->kind() == Attrelement) {
        QStringList pairs;
        for (int i = 0; i + 1 < node->attributeStringCount(); i += 2)
            pairs << node->attributeString(i) + QLatin1Char('=') + node->attributeString(i + 1);
        out += QLatin1Char('{') + pairs.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    if (node->hasChildren())
        out += QLatin1Char('(') + dumpChildren(node) + QLatin1Char(')');
    return out;
}

QString dumpChildren(const Zovnode* node)
{
    QStringList parts;
    if (node->hasChildren()) {
        for (const Zovnode* child : *node->children())
            parts << dumpNode(child);
    }
    return parts.join(QLatin1Char(' '));
}

QString stripResult(const Zovnode* node, const QString& deletedMark)
{
    QStringList parts;
    bool skipNext = false;
    if (node->hasChildren()) {
        for (const Zovnode* child : *node->children()) {
            if (isMark(child)) {
                skipNext = child->value().startsWith(deletedMark + QLatin1Char(' '));
                continue;
            }
            if (skipNext) {
                skipNext = false;
                continue;
            }
            QString part = dumpNode(child);
            if (child->hasChildren()) {
                // Children that were all deleted leave no parentheses behind.
                const QString inner = stripResult(child, deletedMark);
                part = part.left(part.indexOf(QLatin1Char('(')));
                if (!inner.isEmpty())
                    part += QLatin1Char('(') + inner + QLatin1Char(')');
            }
            parts << part;
        }
    }
    return parts.join(QLatin1Char(' '));
}

QVector<const Zovnode*> preorder(const Zovnode* root)
{
    QVector<const Zovnode*> order;
    QVector<const Zovnode*> pending { root };
    while (!pending.isEmpty()) {
        const Zovnode* const node = pending.takeLast();
        order.append(node);
        if (node->hasChildren()) {
            const QVector<Zovnode*>& list = *node->children();
            for (qsizetype k = list.size() - 1; k >= 0; --k)
                pending.append(list[k]);
        }
    }
    return order;
}

std::unique_ptr<Zovnode> materialize(const Gennode& node)
{
    std::unique_ptr<Zovnode> made;
    switch (node.kind) {
    case Element:
    case Attrelement:
        if (node.attributes.isEmpty())
            made = std::make_unique<Zovelementnode>(node.text);
        else
            made = std::make_unique<Zovattrelementnode>(
                node.text, int(node.attributes.size()), node.attributes.constData());
        for (const Gennode& child : node.children)
            made->appendChild(materialize(child).release());
        return made;
    case Pi:
        return std::make_unique<Zovpinode>(node.text, node.data);
    default:
        return std::make_unique<Zovnode>(node.text, node.kind);
    }
}

Gennode randomNode(QRandomGenerator& random, int depth)
{
    static const QStringList names { "a", "b", "c", "d" };
    static const QStringList texts { "t", "u", " t ", "t  u", "tu", "the quick fox", "" };
    Gennode node;
    const int roll = random.bounded(100);
    if (roll < 22) {
        node.kind = Text;
        node.text = texts[random.bounded(int(texts.size()))];
        return node;
    }
    if (roll < 27) {
        node.kind = Comment;
        node.text = texts[random.bounded(2)];
        return node;
    }
    if (roll < 29) {
        node.kind = Cdata;
        node.text = texts[random.bounded(2)];
        return node;
    }
    if (roll < 32) {
        node.kind = Pi;
        node.text = QStringLiteral("p");
        node.data = names[random.bounded(2)];
        return node;
    }
    node.kind = Element;
    node.text = names[random.bounded(int(names.size()))];
    if (random.bounded(2) == 0) {
        static const QStringList attributeNames { "x", "y", "z" };
        static const QStringList values { "1", "2", "x" };
        const int count = 1 + random.bounded(3);
        QStringList used;
        for (int k = 0; k < count; ++k) {
            const QString name = attributeNames[random.bounded(3)];
            if (used.contains(name))
                continue;
            used << name;
            node.attributes << name << values[random.bounded(3)];
        }
    }
    if (depth > 0) {
        const int count = random.bounded(4);
        for (int k = 0; k < count; ++k)
            node.children.append(randomNode(random, depth - 1));
    }
    return node;
}

Gennode randomElement(QRandomGenerator& random, int depth, int maxChildren)
{
    Gennode root;
    root.text = QStringLiteral("r");
    const int count = random.bounded(maxChildren + 1);
    for (int k = 0; k < count; ++k)
        root.children.append(randomNode(random, depth));
    return root;
}

Gennode mutate(const Gennode& node, QRandomGenerator& random, int depth)
{
    Gennode copy = node;
    if (copy.kind == Text && random.bounded(5) == 0)
        copy.text += QStringLiteral(" more");
    if (copy.kind != Element)
        return copy;
    if (!copy.attributes.isEmpty() && random.bounded(6) == 0)
        copy.attributes[1] += QLatin1Char('9');
    if (copy.attributes.size() >= 4 && random.bounded(6) == 0) {
        copy.attributes.move(0, 2);
        copy.attributes.move(1, 3);
    }
    QVector<Gennode> children;
    for (const Gennode& child : copy.children) {
        const int roll = random.bounded(10);
        if (roll == 0)
            continue;
        if (roll == 1)
            children.append(randomNode(random, qMax(0, depth - 1)));
        children.append(roll < 5 ? mutate(child, random, depth - 1) : child);
    }
    if (random.bounded(3) == 0)
        children.append(randomNode(random, qMax(0, depth - 1)));
    if (children.size() > 1 && random.bounded(3) == 0) {
        const int from = random.bounded(int(children.size()));
        const int to = random.bounded(int(children.size()));
        children.move(from, to);
    }
    copy.children = children;
    return copy;
}

void randomConfiguration(QRandomGenerator& random)
{
    Cfgstore& store = Cfgstore::instance();
    store.useBuiltins();
    for (const char* key :
        { "use_hashmode", "normalize_spaces", "enable_shiftmode", "enable_contentmode",
            "ignore_attributes", "ignore_attribute_order", "cmp_attr_contents", "do_txtdiff" }) {
        store.setParameter(QLatin1String(key),
            random.bounded(2) == 0 ? QStringLiteral("true") : QStringLiteral("false"));
    }
    if (random.bounded(3) == 0)
        store.setExcluded({ QStringLiteral("c") });
    static const QStringList paths { "@x", "b", "b/@y", "", "/b", "a/b", "@z" };
    static const QStringList names { "a", "b", "c" };
    const int anchors = random.bounded(3);
    for (int k = 0; k < anchors; ++k) {
        Anchor anchor;
        anchor.name = names[random.bounded(3)];
        anchor.path = paths[random.bounded(int(paths.size()))];
        anchor.absolute = random.bounded(2) == 0;
        anchor.normalizeSpaces = random.bounded(2) == 0;
        store.insertAnchor(anchor);
    }
}

void configure(const QStringList& settings)
{
    Cfgstore& store = Cfgstore::instance();
    store.useBuiltins();
    for (const QString& setting : settings) {
        const QString key = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        if (key == QLatin1String("excluded")) {
            store.setExcluded(value.split(QLatin1Char(',')));
        } else if (key == QLatin1String("anchor")) {
            const QStringList parts = value.split(QLatin1Char('|'));
            Anchor anchor;
            anchor.name = parts.value(0);
            anchor.path = parts.value(1);
            anchor.absolute = parts.value(2) == QLatin1String("yes");
            anchor.normalizeSpaces = parts.value(3) == QLatin1String("yes");
            store.insertAnchor(anchor);
        } else {
            store.setParameter(key, value);
        }
    }
}

std::unique_ptr<Zovnode> chain(int depth, const QString& bottomText)
{
    auto root = std::make_unique<Zovelementnode>(QStringLiteral("c"));
    Zovnode* node = root.get();
    for (int level = 1; level < depth; ++level)
        node = node->appendChild(new Zovelementnode(QStringLiteral("c")));
    node->appendChild(new Zovnode(bottomText, Text));
    return root;
}
