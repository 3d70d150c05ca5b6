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
// Checks a setting given for one run: the key must be in the table and the value of its type
// (a bool true or false, an int a decimal number, savemode 1 or 0). Returns the empty text, or
// a message that names the key and the accepted values.
QString checkSetting(const QString& key, const QString& value);
