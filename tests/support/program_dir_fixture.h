#pragma once
// A temporary program directory laid out as the installed one: an empty RFS/
// and an info.htm beside where the executable would be.
#include <QString>
#include <QTemporaryDir>

class ProgramDirFixture {
public:
    explicit ProgramDirFixture(bool withRfs = true);

    QString path() const; // with trailing separator
    QString rfsPath() const;
    QString filePath(const QString &relative) const;
    bool isValid() const { return dir.isValid(); }

private:
    QTemporaryDir dir;
};
