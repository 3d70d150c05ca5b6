#pragma once

#include <QString>
#include <QVector>
#include <functional>

class Zovnode;

// Tells the change kind of a ZOV mark from the configured mark texts, read once.
class Markclassifier {
public:
    Markclassifier();

    // The kind (1 to 10) of a mark text: an exact text first, then the longest text that is
    // followed by a blank; 0 when none fits.
    int kind(const QString& markText) const;
    // The configured text of a kind (1 to 10).
    const QString& text(int kind) const { return m_texts[kind - 1]; }

private:
    QString m_texts[10];
};

// Whether node is a change mark (a ZOV processing instruction).
bool isZovMark(const Zovnode* node);
// Calls visit with every mark placed by the comparison below resultRoot and its kind as
// classifier tells it, in no particular order; ZOV instructions that were part of an input are
// not visited. Deep documents are walked with an explicit stack. Does nothing for a null root.
void visitMarks(const Zovnode* resultRoot, const Markclassifier& classifier,
    const std::function<void(const Zovnode* mark, int kind)>& visit);

// How many marks of each kind the merged tree below resultRoot holds, indexed by kind (entry 0
// counts marks of no known kind). Only marks placed by the comparison count, not ZOV
// instructions that were part of an input. With shifted given, it receives how many of the
// position-kind marks belong to shifted pairs (the rest of them moved).
QVector<int> countMarks(const Zovnode* resultRoot, int* shifted = nullptr);
// Whether the compared documents are equal under the current settings: same document element
// name, equal document element attributes (as the attribute settings compare them) and a
// complete match for every child. False when either root is missing.
bool documentsEqual(const Zovnode* root1, const Zovnode* resultRoot);
