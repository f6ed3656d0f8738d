#pragma once
// The window "Setup: Arm": the arm's profile (arm/arm_profile.h), its lengths
// and per joint two calibration points, typed or, for a point's pulse width,
// taken from where the joint stands ("Aktuelle Position übernehmen") while the
// operator reads the angle off the arm. "Übernehmen" puts the fields in force;
// "Profil exportieren..." and "Profil importieren..." write and read *.arm
// files. A profile that makes no sense is refused with the reason in the
// status line, and the one in force stays. The profile in force is kept in
// RFS/velmora.ini and handed to the move executor as the window is made. A
// plain window beside the main window, which stays usable.
#include "arm/arm_profile.h"
#include "settings/extension_settings.h"

#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;

namespace arm {

class Arm;
class MoveExecutor;

class ArmSetupWindow : public QWidget {
    Q_OBJECT

public:
    ArmSetupWindow(MoveExecutor &executor, const Arm &arm, const settings::ProgramLocation &files);

private:
    QWidget *buildGeometry();
    QWidget *buildCalibration();
    QWidget *buildButtons();
    QLineEdit *addField(const ProfileField &field, QWidget *owner);

    void showProfile(const ArmProfile &profile);
    void applyFields();
    void exportProfile();
    void importProfile();
    // Puts the profile in force and keeps it, or tells why not.
    void take(const ArmProfile &profile, const QString &done);
    void refuse(const platform::UiText &why);
    void takePosition(int joint, int point);
    // A file chosen in a dialog of this name, or "" when none was.
    QString chooseFile(const char *name, const QString &title, bool forSaving);

    MoveExecutor &executor;
    const Arm &arm;
    settings::ExtensionSettings stored;
    QString rfsDir;
    // One per entry of profileFields(), in that order.
    std::vector<QLineEdit *> fields;
    QLabel *statusLine;
};

} // namespace arm
