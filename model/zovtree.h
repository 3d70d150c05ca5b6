#pragma once

#include "model/zovnode.h"

#include <QString>
#include <QVector>
#include <QXmlStreamEntityResolver>
#include <functional>
#include <memory>

class QIODevice;

// Keeps an undeclared entity reference as the literal text "&name;" instead of an error.
class Entityresolver : public QXmlStreamEntityResolver {
public:
    ~Entityresolver() override;
    QString resolveUndeclaredEntity(const QString& name) override;
};

// One parsed XML document: owns its document element and every node below it.
class Zovtree {
public:
    Zovtree();
    virtual ~Zovtree();

    Zovtree(const Zovtree&) = delete;
    Zovtree& operator=(const Zovtree&) = delete;

    // Parses the open device into this tree; returns the reader's error text, empty on success.
    // The tree keeps whatever was built up to an error.
    QString load(QIODevice* device);
    // As load, always with QXmlStreamReader (load reads plain UTF-8 without it when it can).
    QString loadStreamed(QIODevice* device);
    // Whether the last load read the document without QXmlStreamReader.
    bool readFast() const { return m_readFast; }
    // As load, and writes the parse log to logDevice at the end (also after an error), then
    // closes logDevice.
    QString loadWithLog(QIODevice* device, QIODevice* logDevice);

    Zovnode* root() const { return m_root; }
    // Gives an empty tree a childless copy of node as root; returns 0, -1100 when the tree has a
    // root already, -1105 when node is not an element.
    int setRoot(const Zovnode* node);
    // The encoding named by the document's XML declaration, or "UTF-8" when it named none.
    QString encoding() const;

    // Writes the document element and its content to the open device under the current
    // save mode and mark filter; human-readable output starts with the element's start tag and
    // ends with a line feed. Returns the empty string.
    QString write(QIODevice* device);

    // Called by the next load for every element at its end tag, so that inner elements come
    // before their parent. Leaves are not reported: nothing is kept on them.
    void setNodeFinished(std::function<void(Zovnode*)> finished)
    {
        m_finished = std::move(finished);
    }
    // Where this tree's loader and the comparison place new nodes; made on first use.
    Nodearena& arena();
    // Keeps the storage of other alive as long as this tree, for nodes moved from other into
    // this tree.
    void shareStorage(const Zovtree& other);

private:
    class Tokenlog;
    class Textsink;

    QString parse(QIODevice* device, Tokenlog* log);
    void writeNode(const Zovnode* element, Textsink& sink);

    // Declared first, so that they go last: the nodes placed in them go with the root.
    QVector<std::shared_ptr<Nodearena>> m_arenas;
    Zovnode* m_root = nullptr;
    QString m_documentEncoding;
    bool m_readFast = false;
    std::function<void(Zovnode*)> m_finished;
};
