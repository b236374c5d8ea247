#pragma once
#include "document_dump.h"
#include "rtf/rtf.h"
#include <QByteArray>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << text.toStdString(); }

namespace rtftest {

// The colour table every small case shares: 1 red, 2 blue, 3 green.
inline QByteArray withHeader(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}\n"
           + body + "}";
}

inline QString readDump(const QByteArray &rtf, bool withFonts = false)
{
    QTextDocument document;
    QString reason;
    if (!rtf::read(rtf, document, &reason))
        return QStringLiteral("failed: ") + reason;
    return dumpDocument(document, withFonts);
}

inline QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(RTF_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing fixture " << name.toStdString();
    return file.readAll();
}

} // namespace rtftest
