#include "support/program_dir_fixture.h"

#include <QDir>
#include <QFile>

ProgramDirFixture::ProgramDirFixture(bool withRfs)
{
    if (withRfs)
        QDir(dir.path()).mkdir(QStringLiteral("RFS"));
    QFile info(filePath(QStringLiteral("info.htm")));
    if (info.open(QIODevice::WriteOnly))
        info.write("<html><body><p>Velmora</p></body></html>\n");
}

QString ProgramDirFixture::path() const { return dir.path() + QLatin1Char('/'); }

QString ProgramDirFixture::rfsPath() const { return filePath(QStringLiteral("RFS")); }

QString ProgramDirFixture::filePath(const QString &relative) const { return path() + relative; }
