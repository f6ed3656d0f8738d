#pragma once
// Whole files as bytes, for tests that check exactly what a file format wrote
// or feed it exactly what it must read.
#include <QByteArray>
#include <QString>

#include <string>

// Creates or empties the file and writes the bytes; false if any of that fails.
bool writeBytes(const QString &path, const QByteArray &bytes);
// The file's bytes; "<unreadable>" if it cannot be read, so that a missing file
// never passes for an empty one.
QByteArray readBytes(const QString &path);
// The path as the file-system calls of the code under test take it.
std::string nativePath(const QString &path);
