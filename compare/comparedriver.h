#pragma once

#include "compare/worklist.h"

class Cmpvector;
class Zovnode;

// Compares two document elements level by level into resultElement (a childless copy of
// node2): every child gets its change mark followed by its copy. With guiRun, matched nodes
// are linked as partners for the view.
void compareTrees(Worklist& work, bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement);
// One level: matches the children of node1 and node2 and fills resultElement.
void compareLevel(Worklist& work, bool guiRun, Zovnode* node1, Zovnode* node2, Zovnode* resultElement);
// Appends one triple under the work list's mutex.
void enqueuePair(Worklist& work, Zovnode* node1, Zovnode* node2, Zovnode* resultElement);
// Links the matched children of one level (tree-2 node to tree-1 node).
void linkLevel(const Cmpvector& vector);
// Links two equal subtrees child by child, stopping at the shorter child list.
void linkSubtrees(Zovnode* tree1Node, Zovnode* tree2Node);
