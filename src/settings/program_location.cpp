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

ProgramLocation locateProgramFiles(const QString &executableDir, const QString &userDataDir)
{
    if (QDir(executableDir).exists(kRfs))
        return ProgramLocation::ofProgramDirectory(executableDir);
    QDir(userDataDir).mkpath(kRfs);
    // share/velmora as seen from bin/, as the install layout has it.
    const QString sharedFiles = directoryPath(executableDir + QStringLiteral("/" VELMORA_SHARED_FILES_FROM_BIN));
    return {directoryPath(userDataDir), sharedFiles + kInfoPage};
}

ProgramLocation locateRunningProgram()
{
    const ProgramLocation location = locateProgramFiles(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/velmora"));
    qCInfo(lcFiles, "RFS/ in %s, info.htm at %s", qUtf8Printable(location.dataDir), qUtf8Printable(location.infoPage));
    return location;
}

} // namespace settings
