#include "config/cfgstore.h"

#include "config/cfgkeys.h"
#include "model/zovtree.h"
#include "run/logger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString excludeKey = QStringLiteral("exclude_from_contentmode");

// The exclusion list: every comma-separated part, blanks trimmed, empty parts kept.
QStringList splitExcluded(const QString& value)
{
    QStringList names = value.split(QLatin1Char(','), Qt::KeepEmptyParts);
    for (QString& name : names)
        name = name.trimmed();
    return names;
}

} // namespace

Cfgstore& Cfgstore::instance()
{
    static Cfgstore store;
    return store;
}

QString Cfgstore::getString(const QString& key) const { return m_parameters.value({ key }); }

int Cfgstore::getInt(const QString& key) const
{
    bool ok = false;
    const int value = m_parameters.value({ key }).toInt(&ok, 10);
    return ok ? value : 0;
}

bool Cfgstore::getBool(const QString& key) const
{
    const auto it = m_parameters.constFind({ key });
    if (it == m_parameters.cend())
        return false;
    return *it == QLatin1String("true") || *it == QLatin1String("1") || *it == QLatin1String("yes");
}

void Cfgstore::clear()
{
    m_parameters.clear();
    m_anchors.clear();
    m_excluded.clear();
}

void Cfgstore::setParameter(const QString& key, const QString& value)
{
    m_parameters.insert({ key }, value);
    if (key == excludeKey)
        m_excluded = splitExcluded(value);
}

void Cfgstore::useBuiltins()
{
    clear();
    for (const Cfgkey& row : cfgKeys())
        m_parameters.insert({ QString::fromLatin1(row.key) }, QString::fromUtf8(row.builtin));
    m_excluded = splitExcluded(m_parameters.value({ excludeKey }));
}

QString Cfgstore::locate(const QStringList& arguments)
{
    const qsizetype flag = arguments.indexOf(QStringLiteral("-cfg"));
    if (flag >= 0 && flag + 1 < arguments.size() && !arguments.at(flag + 1).isEmpty())
        m_path = arguments.at(flag + 1);
    else
        m_path = defaultPath();
    return m_path;
}

QString Cfgstore::cfgpath()
{
    if (m_path.isEmpty())
        m_path = defaultPath();
    return m_path;
}

QString Cfgstore::defaultPath()
{
    return QDir::currentPath() + QDir::separator() + QStringLiteral("zov_cfg.xml");
}

int Cfgstore::readcfg()
{
    const QString path = cfgpath();
    if (!QFileInfo::exists(path))
        return -1015;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1020;
    Zovtree tree;
    if (!tree.load(&file).isEmpty())
        return -1055;
    file.close();

    const Zovnode* root = tree.root();
    if (!root || !root->hasChildren())
        return -1115;
    const Childspan blocks = root->children();
    const Zovnode* parameterBlock = blocks.first();
    if (!parameterBlock->hasChildren())
        return -1115;

    // Only a file that passed every check replaces the previous configuration.
    clear();
    for (const Zovnode* parameter : *parameterBlock->children()) {
        const QString value
            = parameter->hasChildren() ? parameter->children()->first()->text() : QString();
        m_parameters.insert({ parameter->name() }, value);
    }
    if (m_parameters.contains({ excludeKey }))
        m_excluded = splitExcluded(m_parameters.value({ excludeKey }));

    if (blocks.size() >= 2 && blocks.at(1)->hasChildren()) {
        for (const Zovnode* element : *blocks.at(1)->children()) {
            Anchor record;
            if (Anchor::fromElement(element, &record))
                m_anchors.insert(record.name, record);
            else
                Logger::instance().write(QStringLiteral("Invalid anchor element in config file."),
                    Logger::Error, Logger::FileAndWindow);
        }
    }
    return 0;
}
