#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace notivo {

struct MxlContents {
    bool ok = false;
    QString problem;     // one line saying what is wrong; empty when ok
    QByteArray musicXml; // the score's document
    explicit operator bool() const { return ok; }
};

// The MusicXML document of a compressed .mxl file: the zip archive's
// META-INF/container.xml names it (its first root file that is MusicXML).
// A document longer than `limit` bytes is not unpacked.
MxlContents musicXmlOfMxl(QByteArrayView zip, qint64 limit);

} // namespace notivo
