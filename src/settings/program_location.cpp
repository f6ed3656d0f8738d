#include "settings/program_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace settings {

namespace {

// Off unless asked for (QT_LOGGING_RULES="velmora.files.info=true"): tells
// which rule applied, when a user's settings are not where they look for them.
Q_LOGGING_CATEGORY(lcFiles, "velmora.files", QtWarningMsg)

const QString kRfs = QStringLiteral("RFS");
const QString kInfoPage = QStringLiteral("info.htm");

// The program builds its paths by appending to a directory's path.
QString directoryPath(const QString &dir) { return QDir::cleanPath(dir) + QLatin1Char('/'); }

} // namespace

QString ProgramLocation::rfsDir() const { return dataDir + kRfs + QLatin1Char('/'); }
QString ProgramLocation::settingsFile() const { return rfsDir() + QStringLiteral("STARTW2.stw"); }
QString ProgramLocation::extensionSettingsFile() const { return rfsDir() + QStringLiteral("velmora.ini"); }

ProgramLocation ProgramLocation::ofProgramDirectory(const QString &programDir)
{
    const QString dir = directoryPath(programDir);
    return {dir, dir + kInfoPage};
}

ProgramLocation locateProgramFiles(const QString &executableDir, const QString &userDataDir,
                                   const QString &sharedFilesDir)
{
    if (QDir(executableDir).exists(kRfs))
        return ProgramLocation::ofProgramDirectory(executableDir);
    QDir(userDataDir).mkpath(kRfs);
    return {directoryPath(userDataDir), directoryPath(executableDir + QLatin1Char('/') + sharedFilesDir) + kInfoPage};
}

ProgramLocation locateRunningProgram()
{
#ifdef Q_OS_WIN
    // The roaming profile, where Windows programs keep what their user made.
    const QString userDataDir = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + QStringLiteral("/Velmora");
#else
    const QString userDataDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/velmora");
#endif
    const ProgramLocation location = locateProgramFiles(QCoreApplication::applicationDirPath(), userDataDir,
                                                        QStringLiteral(VELMORA_SHARED_FILES_FROM_BIN));
    qCInfo(lcFiles, "RFS/ in %s, info.htm at %s", qUtf8Printable(location.dataDir), qUtf8Printable(location.infoPage));
    return location;
}

} // namespace settings
