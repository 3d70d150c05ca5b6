#pragma once

#include "config/anchor.h"
#include "model/texthash.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The process-wide configuration: parameters by key, anchors by element name, the names
// excluded from content mode and the configuration file's path. Written by one thread at a
// time: the GUI thread, or a run's worker while the window keeps the dialog closed.
class Cfgstore {
public:
    // Keyed by textHash: settings are read for every run and every changed node.
    using Parametertable = QHash<Textkey<QString>, QString>;

    static Cfgstore& instance();

    // The value, or the empty text when the key is absent.
    QString getString(const QString& key) const;
    // The value as a decimal integer; 0 when absent or not a number.
    int getInt(const QString& key) const;
    // True exactly for "true", "1" or "yes".
    bool getBool(const QString& key) const;
    // Empties parameters, anchors and the exclusion list; keeps the path.
    void clear();

    // Stores one parameter; a key given again replaces the earlier value. The exclusion list
    // follows exclude_from_contentmode.
    void setParameter(const QString& key, const QString& value);
    const Parametertable& parameters() const { return m_parameters; }
    const QStringList& excluded() const { return m_excluded; }
    void setExcluded(const QStringList& names) { m_excluded = names; }
    // Fills the store with the built-in values of the key table (used when no file exists).
    void useBuiltins();

    // The anchor for an element name, or null. The pointer lives until the table next changes.
    const Anchor* anchor(const QString& name) const;
    // Adds the record; one of the same name is replaced.
    void insertAnchor(const Anchor& anchor);
    // Removes the record; nothing happens for an unknown name.
    void removeAnchor(const QString& name);
    void replaceAnchor(
        const QString& name, const QString& path, bool absolute, bool normalizeSpaces);
    // All records, in the table's order.
    QList<Anchor> anchors() const { return m_anchors.values(); }

    // Sets the path from "-cfg PATH" in the arguments, else the default; returns the path.
    QString locate(const QStringList& arguments);
    // The path, set to the default first when empty.
    QString cfgpath();
    // The default path: the working directory's zov_cfg.xml.
    static QString defaultPath();
    void setPath(const QString& path) { m_path = path; }

    // Reads the configuration file; returns 0, -1015 (missing), -1020 (unopenable),
    // -1055 (not well-formed) or -1115 (bad structure). The store is kept on failure.
    int readcfg();

private:
    Cfgstore() = default;

    QString m_path;
    Parametertable m_parameters;
    QHash<QString, Anchor> m_anchors;
    QStringList m_excluded;
};
