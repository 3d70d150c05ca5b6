#pragma once

#include <QString>

// The result file's name: supplement (empty: "_zov") before the extension of the file-name
// part, or appended when the file name has none; native separators.
QString resultFileName(const QString& supplement, const QString& inputFileName);
// Whether a ZOV mark with this text reaches the result file under the current use flags.
bool isMarkWritten(const QString& markText);

// The mark filter with the use flags and mark texts read once, for writing a whole tree.
class Markfilter {
public:
    // Reads the ten use flags, the ten mark texts and add_del_nodes_2_res from the store.
    Markfilter();

    // Whether the mark reaches the result file.
    bool written(const QString& markText) const;
    // Whether the node after this mark is a deleted node to leave out of the result file.
    bool skipsNext(const QString& markText) const;

private:
    struct Rule {
        QString text;
        bool prefix;
        bool use;
    };
    Rule m_rules[10];
    bool m_addDeleted;
};
