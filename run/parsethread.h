#pragma once

#include <QString>
#include <QThread>

class QFile;
class Zovtree;

// Parses one open file into an empty tree on its own thread; writes no log.
class Parsethread : public QThread {
public:
    Parsethread(Zovtree* tree, QFile* file);
    ~Parsethread() override;

    // The parser's error text; empty after a successful parse.
    const QString& error() const { return m_error; }

protected:
    void run() override;

private:
    Zovtree* m_tree;
    QFile* m_file;
    QString m_error;
};
