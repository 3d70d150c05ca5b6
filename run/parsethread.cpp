#include "run/parsethread.h"

#include "model/zovtree.h"

#include <QFile>

Parsethread::Parsethread(Zovtree* tree, QFile* file)
    : m_tree(tree)
    , m_file(file)
{
}

Parsethread::~Parsethread() { wait(); }

void Parsethread::run() { m_error = m_tree->load(m_file); }
