#pragma once

#include <QString>

// The result file's name: supplement (empty: "_zov") before the extension of the file-name
// part, or appended when the file name has none; native separators.
QString resultFileName(const QString& supplement, const QString& inputFileName);
// Whether a ZOV mark with this text reaches the result file under the current use flags.
bool isMarkWritten(const QString& markText);
