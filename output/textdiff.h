#pragma once

#include <QString>

// Inline difference of two texts with the configured insertion and deletion markers; the new
// text unchanged when the texts are equal under the case rule.
QString diffText(const QString& oldText, const QString& newText, bool caseSensitive);
// The quick case where one text contains the other; empty when neither does.
QString containmentDiff(const QString& oldText, const QString& newText, bool caseSensitive);
// The general case: split at the longest common substring of at least minLength characters.
QString substringDiff(
    const QString& oldText, const QString& newText, bool caseSensitive, int minLength);
// Longest common substring, taken from a; empty when there is none.
QString longestCommonSubstring(const QString& a, const QString& b, bool caseSensitive);
// Summed length of the common pieces of at least 5 characters found by splitting.
int similarityScore(const QString& a, const QString& b);
