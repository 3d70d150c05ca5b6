#pragma once

#include "model/zovnode.h"

#include <QString>
#include <QXmlStreamEntityResolver>

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

private:
    struct Openelement {
        Openelement* next;
        Zovnode* node;
    };
    class Tokenlog;
    class Textsink;

    QString parse(QIODevice* device, Tokenlog* log);
    void writeNode(const Zovnode* element, Textsink& sink);

    Zovnode* m_root = nullptr;
    Zovnode* m_current = nullptr;
    Openelement* m_stackTop = nullptr;
    QString m_documentEncoding;
};
