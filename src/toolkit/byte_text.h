#pragma once
// Where texts cross between the system's own code and the widgets. Wire texts,
// file contents, step lines and field values are 8-bit strings, one byte per
// character, so they pass as Latin-1. (Texts for the operator are UTF-8 and
// translatable: platform/uitext.h.)
#include <QFile>
#include <QString>
#include <string>

namespace toolkit {

inline QString fromBytes(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString &text) { return text.toLatin1().toStdString(); }

// A file name as the operating system's file functions take it.
inline std::string filePathBytes(const QString &path) { return QFile::encodeName(path).toStdString(); }

// A text the operating system wrote (an error reason), in the user's locale.
inline QString fromSystemText(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace toolkit
