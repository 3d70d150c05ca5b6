#pragma once

#include "model/zovnode.h"

#include <QRandomGenerator>
#include <QString>
#include <QVector>
#include <memory>

// Builds a tree from the compact form used by the compare tests: an element is name,
// optionally {k=v,k=v}, optionally (children separated by blanks); 'x' is a text node,
// !'x' a comment, %'x' a CDATA section, ?target'data' a processing instruction.
// Returns null on a syntax error.
std::unique_ptr<Zovnode> buildTree(const QString& compact);
// The compact form of a node, with ZOV marks written as [text].
QString dumpNode(const Zovnode* node);
// The compact forms of an element's children, separated by blanks.
QString dumpChildren(const Zovnode* node);
// The children of a result element with marks and deleted nodes removed, recursively.
QString stripResult(const Zovnode* node, const QString& deletedMark);
// Number of nodes in document order, used to name partners in dumps.
QVector<const Zovnode*> preorder(const Zovnode* root);

// Plain description of a node, from which identical trees can be built twice.
struct Gennode {
    Nodekind kind = Element;
    QString text;
    QString data;
    QStringList attributes;
    QVector<Gennode> children;
};

std::unique_ptr<Zovnode> materialize(const Gennode& node);
// A random subtree from a small alphabet, so that equal and near-equal siblings are common.
Gennode randomNode(QRandomGenerator& random, int depth);
// A random child list of an element named r.
Gennode randomElement(QRandomGenerator& random, int depth, int maxChildren);
// A copy of node with random deletions, insertions, moves and edits at every level.
Gennode mutate(const Gennode& node, QRandomGenerator& random, int depth);
// Random configuration: modes, flags, hash mode, anchors and content-mode exclusions.
void randomConfiguration(QRandomGenerator& random);
