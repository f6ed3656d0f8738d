#pragma once
// Where the program's files lie. A program directory holds RFS/ (the settings
// file, the motion sets, velmora.ini) with info.htm beside the executable, as
// the portable folders and the build tree have it. Installed (bin/velmora under
// a prefix, velmora.exe in Program Files), the executable's directory is not
// the user's to write to: the user's data directory takes its place for RFS/,
// and info.htm is the one installed with the program (share/velmora, or the
// install folder itself on Windows).
#include <QString>

namespace settings {

struct ProgramLocation {
    QString dataDir;  // with a trailing separator; RFS/ lies in it
    QString infoPage; // the page the info window shows

    // RFS/ with a trailing separator: the motion sets, the settings file and
    // the extensions' velmora.ini lie in it.
    QString rfsDir() const;
    QString settingsFile() const;
    QString extensionSettingsFile() const;

    // Both in one program directory.
    static ProgramLocation ofProgramDirectory(const QString &programDir);
};

// The rule: RFS/ beside the executable makes its directory the program
// directory. Otherwise userDataDir takes that role, and its RFS/ is created
// here when it is missing (the first start); info.htm then lies in
// sharedFilesDir, relative to the executable's directory.
ProgramLocation locateProgramFiles(const QString &executableDir, const QString &userDataDir,
                                   const QString &sharedFilesDir);

// The rule for the running executable, the current user ($XDG_DATA_HOME/velmora,
// on Windows %APPDATA%\Velmora) and the layout this build installs.
ProgramLocation locateRunningProgram();

} // namespace settings
