#pragma once

#include "model/zovnode.h"

#include <QHash>
#include <QStringList>
#include <QVector>

// The matching passes written as the plain nested loops they replace: keys are whole
// contentString texts (or their qHash), every candidate pair is compared directly.
struct Refvector {
    Refvector(Zovnode* first, Zovnode* second, bool hashMode);

    void runPasses();
    void matchEqualInPlace();
    void matchEqualMoved();
    void matchAnchors();
    void matchByContent();
    void matchNameInPlace();
    void matchByShift();
    void markUnmatched();
    void compareAttributes();
    void diffTexts();

    Zovnode* child1(int i) const { return node1->children()->at(i); }
    Zovnode* child2(int j) const { return node2->children()->at(j); }

    Zovnode* node1;
    Zovnode* node2;
    int count1;
    int count2;
    bool hashMode;
    QVector<int> state1;
    QVector<int> state2;
    QVector<int> partner1;
    QVector<int> partner2;
    QVector<QString> textKeys1;
    QVector<QString> textKeys2;
    QVector<size_t> hashKeys1;
    QVector<size_t> hashKeys2;
    QHash<int, QStringList> marked;

private:
    bool keysEqual(int i, int j) const;
    void pair(int i, int j);
};

// The whole comparison level by level, recursing into changed pairs in breadth-first order.
void refCompareTrees(bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement);
