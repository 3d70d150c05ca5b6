#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

// Silences the library's debug output once, so a fuzz run is not slowed down by printing.
inline void quietMessages()
{
    static const bool done = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)done;
}

// Stops the run with a message; the fuzzer records the input that got here.
[[noreturn]] inline void fuzzFailure(const char* what, const QString& detail)
{
    std::fprintf(stderr, "fuzz check failed: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

// Everything the program writes must read back as well-formed XML.
inline void requireWellFormed(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        fuzzFailure("written XML is not well-formed", reader.errorString());
}
