#include "arm/arm_setup_window.h"

#include "arm/arm.h"
#include "arm/arm_profile_file.h"
#include "arm/decimal_comma.h"
#include "arm/move_executor.h"
#include "platform/atomic_file.h"
#include "settings/program_location.h"
#include "toolkit/byte_text.h"
#include "toolkit/translated.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace arm {

namespace {

// The geometry's four lengths come first in profileFields(), then four
// numbers per joint: point 1's pulse width and value, point 2's.
constexpr std::size_t kLengths = 4;
constexpr std::size_t kPerJoint = 4;
constexpr std::size_t kLargestFile = 64 * 1024;

// Where a joint's point (0 or 1) has its pulse width in profileFields(); its value follows.
std::size_t pulseField(int joint, int point)
{
    return kLengths + std::size_t(joint) * kPerJoint + std::size_t(point) * 2;
}

QString storedKey(const ProfileField &field)
{
    return QString::fromStdString(std::string(kProfileGroup) + "/" + field.key());
}

// What velmora.ini keeps, or the default profile where that makes no sense.
ArmProfile storedProfile(const settings::ExtensionSettings &stored)
{
    ArmProfile profile;
    for (const ProfileField &field : profileFields())
        field.of(profile) = stored.number(storedKey(field), field.of(profile), -1e9, 1e9);
    return checkProfile(profile) ? ArmProfile{} : profile;
}

} // namespace

ArmSetupWindow::ArmSetupWindow(MoveExecutor &executor, const Arm &arm, const settings::ProgramLocation &files)
    : QWidget(nullptr, Qt::Window),
      executor(executor),
      arm(arm),
      stored(files),
      rfsDir(files.rfsDir()),
      statusLine(new QLabel(this))
{
    setWindowTitle(tr("Setup: Arm"));
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setAccessibleName(tr("Zustand"));
    statusLine->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildGeometry());
    layout->addWidget(buildCalibration());
    layout->addWidget(buildButtons());
    layout->addWidget(statusLine);
    executor.setProfile(storedProfile(stored));
    showProfile(executor.profile());
}

QLineEdit *ArmSetupWindow::addField(const ProfileField &field, QWidget *owner)
{
    auto *edit = new QLineEdit(owner);
    edit->setObjectName(QString::fromStdString(field.key()));
    edit->setAccessibleName(toolkit::translated(field.name()));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
    fields.push_back(edit);
    return edit;
}

QWidget *ArmSetupWindow::buildGeometry()
{
    auto *box = new QGroupBox(tr("Abmessungen (mm)"), this);
    auto *form = new QFormLayout(box);
    for (std::size_t i = 0; i < kLengths; ++i) {
        const ProfileField &field = profileFields()[i];
        form->addRow(tr("%1:").arg(toolkit::translated(field.name())), addField(field, box));
    }
    return box;
}

// A row per joint: its two points, each a pulse width and the angle (the
// Greifer: the opening in mm) read off the arm there.
QWidget *ArmSetupWindow::buildCalibration()
{
    auto *box = new QGroupBox(tr("Kalibrierung: zwei Punkte je Gelenk (Winkel in °, Greifer in mm)"), this);
    auto *grid = new QGridLayout(box);
    for (int point = 0; point < 2; ++point) {
        const int column = 1 + point * 3;
        grid->addWidget(new QLabel(tr("Punkt %1 (µs)").arg(point + 1), box), 0, column);
        grid->addWidget(new QLabel(tr("Punkt %1 (Wert)").arg(point + 1), box), 0, column + 1);
    }
    for (int joint = 0; joint < kJoints; ++joint) {
        const QString name = toolkit::translated(jointName(joint));
        grid->addWidget(new QLabel(name, box), joint + 1, 0);
        for (int point = 0; point < 2; ++point) {
            const std::size_t first = pulseField(joint, point);
            const int column = 1 + point * 3;
            grid->addWidget(addField(profileFields()[first], box), joint + 1, column);
            grid->addWidget(addField(profileFields()[first + 1], box), joint + 1, column + 1);
            auto *take = new QPushButton(tr("Aktuelle Position übernehmen"), box);
            take->setAutoDefault(false);
            take->setAccessibleName(tr("%1 Punkt %2: Aktuelle Position übernehmen").arg(name).arg(point + 1));
            connect(take, &QPushButton::clicked, this, [this, joint, point] { takePosition(joint, point); });
            grid->addWidget(take, joint + 1, column + 2);
        }
    }
    return box;
}

QWidget *ArmSetupWindow::buildButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char *text;
        void (ArmSetupWindow::*action)();
    } buttons[] = {
        {QT_TR_NOOP("Ü&bernehmen"), &ArmSetupWindow::applyFields},
        {QT_TR_NOOP("Profil e&xportieren..."), &ArmSetupWindow::exportProfile},
        {QT_TR_NOOP("Profil &importieren..."), &ArmSetupWindow::importProfile},
    };
    for (const auto &button : buttons) {
        auto *push = new QPushButton(tr(button.text), row);
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, button.action);
        layout->addWidget(push);
    }
    layout->addStretch(1);
    return row;
}

void ArmSetupWindow::showProfile(const ArmProfile &profile)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setText(withComma(profileFields()[i].of(profile)));
}

void ArmSetupWindow::applyFields()
{
    ArmProfile profile;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::optional<double> number = typedNumber(fields[i]->text());
        if (!number) {
            refuse(UI_TEXT("arm::ArmProfile", "%1: keine gültige Zahl").arg(profileFields()[i].name()));
            return;
        }
        profileFields()[i].of(profile) = *number;
    }
    take(profile, tr("Profil übernommen"));
}

void ArmSetupWindow::take(const ArmProfile &profile, const QString &done)
{
    if (const std::optional<platform::UiText> why = checkProfile(profile)) {
        refuse(*why);
        return;
    }
    for (const ProfileField &field : profileFields())
        stored.setNumber(storedKey(field), field.of(profile));
    executor.setProfile(profile);
    showProfile(profile);
    statusLine->setText(done);
}

void ArmSetupWindow::refuse(const platform::UiText &why)
{
    statusLine->setText(tr("%1 – das bisherige Profil gilt weiter").arg(toolkit::translated(why)));
}

void ArmSetupWindow::takePosition(int joint, int point)
{
    fields[pulseField(joint, point)]->setText(QString::number(arm.joint(joint).getPosition()));
}

QString ArmSetupWindow::chooseFile(const char *name, const QString &title, bool forSaving)
{
    QFileDialog dialog(this, title, rfsDir);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Armprofile (*.arm)"), tr("Alle (*)")});
    dialog.setDefaultSuffix(QStringLiteral("arm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// The profile in force, not fields not yet taken.
void ArmSetupWindow::exportProfile()
{
    const QString path = chooseFile("exportDialog", tr("Profil exportieren"), true);
    if (path.isEmpty())
        return;
    if (const auto error = platform::replaceFile(toolkit::filePathBytes(path), formatProfile(executor.profile())))
        statusLine->setText(toolkit::translated(*error));
    else
        statusLine->setText(tr("Profil exportiert: %1").arg(QFileInfo(path).fileName()));
}

void ArmSetupWindow::importProfile()
{
    const QString path = chooseFile("importDialog", tr("Profil importieren"), false);
    if (path.isEmpty())
        return;
    const platform::FileContent file = platform::readFile(toolkit::filePathBytes(path), kLargestFile);
    ArmProfile profile;
    if (file.error)
        refuse(*file.error);
    else if (const std::optional<platform::UiText> why = parseProfile(file.bytes, profile))
        refuse(*why);
    else
        take(profile, tr("Profil importiert: %1").arg(QFileInfo(path).fileName()));
}

} // namespace arm
