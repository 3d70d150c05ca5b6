#pragma once

#include "config/anchor.h"

#include <QList>
#include <QString>
#include <QStringList>

// The configuration file's text: values holds the 48 values in key-table order.
QString configFileText(const QStringList& values, const QList<Anchor>& anchors);
// Writes the file atomically; returns 0, or -1020 after logging
// "Error while trying to open configuration file " + path when it cannot be written.
int writeConfigFile(const QString& path, const QStringList& values, const QList<Anchor>& anchors);
