#pragma once

#include <QJsonObject>
#include <QString>

struct Changereport;
struct Changerecord;

// The label of a kind (1 to 10) for people: its configured mark text, or its key when the
// text is empty.
QString kindLabel(int kind);
// One line per change, ending in a line feed: the kind, the path in the new document and,
// where it differs, in the old one, then the attribute or text details, texts shortened around
// their first difference. colour adds terminal colours (deleted red, added green, other
// changes blue; old values red, new values green).
QString reportText(const Changereport& report, bool colour);
// One line of reportText.
QString changeLine(const Changerecord& record, bool colour);
// The report as a JSON object: "file_old", "file_new", "settings" (the settings that decide
// what counts as equal), "equal", "counts" (per kind key, plus "moved" and "shifted") and
// "changes" (see the README for the fields).
QJsonObject reportJson(const Changereport& report, const QString& fileOld, const QString& fileNew);
