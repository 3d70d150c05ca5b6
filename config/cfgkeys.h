#pragma once

#include <QString>
#include <QVector>

// Type of a configuration value; savemode is an int written as "1" or "0" and read as a bool
// by the dialog.
enum class Cfgtype { Bool, Int, Text, Savemode };

// One row of the configuration key table.
struct Cfgkey {
    const char* key;
    Cfgtype type;
    const char* builtin;
    const char* widget;
};

// The 48 keys in file order with their built-in values and the dialog widgets that show them.
const QVector<Cfgkey>& cfgKeys();
// Index of key in cfgKeys(), or -1.
int cfgKeyIndex(const QString& key);
